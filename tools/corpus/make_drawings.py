#!/usr/bin/env python3
"""Writes the drawings the metafile corpus is converted from: SVG charts,
clip art with gradients, clipping, nested transforms, text, hatches, and
drawings whose every line has a known place; office charts as flat ODF
drawings (.fodg); gnuplot scripts of plots (.gp). Deterministic: the same
seed writes the same files.

    make_drawings.py OUT_DIR [COUNT]     (COUNT SVGs, a third as many charts and plots)
"""
import math
import os
import random
import sys

PALETTE = ["#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf"]


def svg(width, height, body, defs=""):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            f'width="{width}px" height="{height}px" viewBox="0 0 {width} {height}">\n'
            f'<defs>{defs}</defs>\n{body}\n</svg>\n')


def bar_chart(rnd):
    w, h = rnd.choice([(320, 240), (400, 300), (480, 320)])
    n = rnd.randint(3, 9)
    values = [rnd.randint(5, 100) for _ in range(n)]
    body = [f'<rect x="0" y="0" width="{w}" height="{h}" fill="#ffffff" stroke="#000000"/>']
    left, bottom, top = 40, h - 30, 20
    body.append(f'<line x1="{left}" y1="{bottom}" x2="{w - 10}" y2="{bottom}" stroke="black"/>')
    body.append(f'<line x1="{left}" y1="{top}" x2="{left}" y2="{bottom}" stroke="black"/>')
    step = (w - left - 20) / n
    for i, v in enumerate(values):
        bh = (bottom - top) * v / 100
        x = left + 5 + i * step
        body.append(f'<rect x="{x:.1f}" y="{bottom - bh:.1f}" width="{step * 0.7:.1f}" height="{bh:.1f}" '
                    f'fill="{PALETTE[i % 10]}" stroke="#333333" stroke-width="0.5"/>')
        body.append(f'<text x="{x:.1f}" y="{bottom + 14}" font-family="DejaVu Sans" font-size="10">Q{i + 1}</text>')
    for t in range(0, 101, 25):
        y = bottom - (bottom - top) * t / 100
        body.append(f'<line x1="{left - 4}" y1="{y:.1f}" x2="{w - 10}" y2="{y:.1f}" stroke="#cccccc" stroke-dasharray="3,2"/>')
        body.append(f'<text x="4" y="{y + 4:.1f}" font-family="DejaVu Sans" font-size="9">{t}</text>')
    return svg(w, h, "\n".join(body))


def pie_chart(rnd):
    w = h = rnd.choice([240, 300])
    cx, cy, r = w / 2, h / 2, w / 2 - 20
    values = [rnd.randint(1, 10) for _ in range(rnd.randint(3, 7))]
    total = sum(values)
    angle = -math.pi / 2
    body = []
    for i, v in enumerate(values):
        sweep = 2 * math.pi * v / total
        x1, y1 = cx + r * math.cos(angle), cy + r * math.sin(angle)
        x2, y2 = cx + r * math.cos(angle + sweep), cy + r * math.sin(angle + sweep)
        large = 1 if sweep > math.pi else 0
        body.append(f'<path d="M{cx},{cy} L{x1:.2f},{y1:.2f} A{r},{r} 0 {large} 1 {x2:.2f},{y2:.2f} Z" '
                    f'fill="{PALETTE[i % 10]}" stroke="white" stroke-width="2"/>')
        angle += sweep
    body.append(f'<text x="{cx}" y="16" text-anchor="middle" font-family="DejaVu Sans" font-size="13">Share {rnd.randint(1990, 2020)}</text>')
    return svg(w, h, "\n".join(body))


def line_chart(rnd):
    w, h = 400, 260
    body = [f'<rect x="30" y="10" width="{w - 40}" height="{h - 40}" fill="#f8f8f0" stroke="#444"/>']
    for s in range(rnd.randint(1, 4)):
        pts = " ".join(f"{30 + i * (w - 40) / 11:.1f},{10 + rnd.uniform(10, h - 60):.1f}" for i in range(12))
        body.append(f'<polyline points="{pts}" fill="none" stroke="{PALETTE[s]}" stroke-width="{rnd.choice([1, 2, 3])}"/>')
    body.append(f'<text x="{w / 2}" y="{h - 8}" text-anchor="middle" font-family="DejaVu Serif" font-size="12">Months</text>')
    return svg(w, h, "\n".join(body))


def gradient_art(rnd):
    w, h = rnd.choice([(300, 300), (360, 240)])
    defs = []
    body = []
    for i in range(rnd.randint(2, 5)):
        c1, c2 = rnd.sample(PALETTE, 2)
        kind = rnd.choice(["linear", "radial"])
        if kind == "linear":
            defs.append(f'<linearGradient id="g{i}" x1="0" y1="0" x2="1" y2="{rnd.choice([0, 1])}">'
                        f'<stop offset="0" stop-color="{c1}"/><stop offset="1" stop-color="{c2}"/></linearGradient>')
        else:
            defs.append(f'<radialGradient id="g{i}"><stop offset="0" stop-color="{c1}"/>'
                        f'<stop offset="1" stop-color="{c2}"/></radialGradient>')
        x, y = rnd.uniform(10, w - 120), rnd.uniform(10, h - 120)
        shape = rnd.choice(["ellipse", "rect", "star"])
        if shape == "ellipse":
            body.append(f'<ellipse cx="{x + 50:.1f}" cy="{y + 50:.1f}" rx="{rnd.uniform(20, 60):.1f}" ry="{rnd.uniform(20, 60):.1f}" fill="url(#g{i})" stroke="#222"/>')
        elif shape == "rect":
            body.append(f'<rect x="{x:.1f}" y="{y:.1f}" width="{rnd.uniform(40, 110):.1f}" height="{rnd.uniform(40, 110):.1f}" rx="8" fill="url(#g{i})"/>')
        else:
            pts = []
            for k in range(10):
                rr = 50 if k % 2 == 0 else 22
                a = math.pi * k / 5 - math.pi / 2
                pts.append(f"{x + 55 + rr * math.cos(a):.1f},{y + 55 + rr * math.sin(a):.1f}")
            body.append(f'<polygon points="{" ".join(pts)}" fill="url(#g{i})" stroke="#000" stroke-width="1.5"/>')
    return svg(w, h, "\n".join(body), "".join(defs))


def clipped(rnd):
    w, h = 320, 240
    defs = [f'<clipPath id="c0"><circle cx="{rnd.randint(120, 200)}" cy="120" r="{rnd.randint(60, 100)}"/></clipPath>',
            '<clipPath id="c1"><rect x="40" y="40" width="120" height="90"/><rect x="170" y="110" width="110" height="90"/></clipPath>']
    body = []
    for c in range(2):
        body.append(f'<g clip-path="url(#c{c})">')
        for i in range(8):
            body.append(f'<rect x="{i * 40}" y="{c * 20}" width="20" height="{h}" fill="{PALETTE[(i + c) % 10]}"/>')
        body.append('</g>')
    return svg(w, h, "\n".join(body), "".join(defs))


def transformed(rnd):
    w, h = 360, 300

    def group(depth):
        if depth == 0:
            return f'<rect x="-20" y="-10" width="40" height="20" fill="{rnd.choice(PALETTE)}" stroke="black"/>'
        inner = "".join(
            f'<g transform="rotate({rnd.randint(-60, 60)}) translate({rnd.randint(-40, 40)},{rnd.randint(-30, 30)}) scale({rnd.uniform(0.6, 1.1):.2f})">{group(depth - 1)}</g>'
            for _ in range(2))
        return f'<circle r="6" fill="{rnd.choice(PALETTE)}"/>{inner}'

    body = f'<g transform="translate({w / 2},{h / 2})">{group(rnd.randint(2, 4))}</g>'
    body += f'<text x="10" y="{h - 10}" transform="skewX(-10)" font-family="DejaVu Sans" font-size="14">transformed</text>'
    return svg(w, h, body)


def text_page(rnd):
    w, h = 360, 220
    words = "the quick brown fox jumps over a lazy dog while seven old lanterns glow in the dark".split()
    body = []
    y = 24
    for _ in range(rnd.randint(4, 8)):
        size = rnd.choice([10, 12, 14, 18, 22])
        family = rnd.choice(["DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"])
        weight = rnd.choice(["normal", "bold"])
        line = " ".join(rnd.choice(words) for _ in range(rnd.randint(3, 6)))
        body.append(f'<text x="10" y="{y}" font-family="{family}" font-weight="{weight}" font-size="{size}" fill="{rnd.choice(PALETTE)}">{line}</text>')
        y += size + 8
    body.append(f'<text x="300" y="200" transform="rotate(-30 300 200)" font-family="DejaVu Sans" font-size="16">tilted</text>')
    return svg(w, h, "\n".join(body))


def hatches(rnd):
    w, h = 320, 240
    defs = []
    body = []
    for i in range(4):
        gap = rnd.choice([4, 6, 8])
        angle = rnd.choice([0, 45, 90, 135])
        defs.append(f'<pattern id="h{i}" width="{gap}" height="{gap}" patternUnits="userSpaceOnUse" patternTransform="rotate({angle})">'
                    f'<line x1="0" y1="0" x2="0" y2="{gap}" stroke="{PALETTE[i]}" stroke-width="1"/></pattern>')
        body.append(f'<rect x="{10 + (i % 2) * 155}" y="{10 + (i // 2) * 115}" width="145" height="105" fill="url(#h{i})" stroke="black"/>')
    return svg(w, h, "\n".join(body), "".join(defs))


def outlines(rnd):
    # Shapes drawn as outlines only, and some half transparent.
    w, h = 320, 240
    body = []
    for i in range(rnd.randint(5, 10)):
        x, y = rnd.uniform(0, w - 80), rnd.uniform(0, h - 60)
        fill = "none" if i % 2 == 0 else PALETTE[i % 10]
        opacity = rnd.choice(["1", "0.5"])
        body.append(f'<rect x="{x:.1f}" y="{y:.1f}" width="{rnd.uniform(30, 80):.1f}" height="{rnd.uniform(20, 60):.1f}" '
                    f'fill="{fill}" fill-opacity="{opacity}" stroke="{PALETTE[(i + 3) % 10]}" stroke-width="{rnd.choice([1, 2, 4])}"/>')
    return svg(w, h, "\n".join(body))


def rulers():
    # One-pixel vertical lines at known places, and horizontal ones.
    w, h = 320, 200
    body = [f'<rect x="{x}" y="0" width="1" height="{h}" fill="#000000"/>' for x in (10, 100, 200, 300, 318)]
    body += [f'<rect x="0" y="{y}" width="{w}" height="1" fill="#ff0000"/>' for y in (20, 120, 198)]
    return svg(w, h, "\n".join(body))


CHART_TEMPLATE = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:chart="urn:oasis:names:tc:opendocument:xmlns:chart:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.graphics">
<office:automatic-styles><style:page-layout style:name="pl"><style:page-layout-properties fo:page-width="{pw}cm"
 fo:page-height="{ph}cm" fo:margin-top="0cm" fo:margin-bottom="0cm" fo:margin-left="0cm" fo:margin-right="0cm"/></style:page-layout>
</office:automatic-styles>
<office:master-styles><style:master-page style:name="Default" style:page-layout-name="pl"/></office:master-styles>
<office:body><office:drawing><draw:page draw:name="chart" draw:master-page-name="Default">
<draw:frame svg:x="0.2cm" svg:y="0.2cm" svg:width="{w}cm" svg:height="{h}cm"><draw:object>
<office:document office:mimetype="application/vnd.oasis.opendocument.chart" office:version="1.2"><office:body><office:chart>
<chart:chart svg:width="{w}cm" svg:height="{h}cm" chart:class="chart:{kind}">
<chart:title><text:p>{title}</text:p></chart:title>
<chart:legend chart:legend-position="end"/>
<chart:plot-area table:cell-range-address="local-table.A1:{last}{rows}" chart:data-source-has-labels="both">
<chart:axis chart:dimension="x" chart:name="primary-x"><chart:categories table:cell-range-address="local-table.A2:A{rows}"/></chart:axis>
<chart:axis chart:dimension="y" chart:name="primary-y"><chart:grid chart:class="major"/></chart:axis>
{series}
</chart:plot-area>
<table:table table:name="local-table">
<table:table-header-columns><table:table-column/></table:table-header-columns>
<table:table-columns><table:table-column table:number-columns-repeated="{columns}"/></table:table-columns>
<table:table-header-rows><table:table-row><table:table-cell><text:p/></table:table-cell>{heads}</table:table-row></table:table-header-rows>
<table:table-rows>{body}</table:table-rows></table:table>
</chart:chart></office:chart></office:body></office:document>
</draw:object></draw:frame>
</draw:page></office:drawing></office:body></office:document>
"""


def office_chart(rnd):
    kind = rnd.choice(["bar", "line", "area", "circle", "radar", "scatter"])
    columns = 1 if kind == "circle" else rnd.randint(1, 4)
    rows = rnd.randint(3, 8)
    names = rnd.sample(["North", "South", "East", "West", "Lamps", "Rope", "Oil"], columns)
    series = "".join(f'<chart:series chart:values-cell-range-address="local-table.{chr(66 + c)}2:{chr(66 + c)}{rows + 1}" '
                     f'chart:label-cell-address="local-table.{chr(66 + c)}1"/>' for c in range(columns))
    heads = "".join(f'<table:table-cell office:value-type="string"><text:p>{n}</text:p></table:table-cell>' for n in names)
    body = ""
    for r in range(rows):
        cells = "".join(f'<table:table-cell office:value-type="float" office:value="{v}"><text:p>{v}</text:p></table:table-cell>'
                        for v in (rnd.randint(1, 40) for _ in range(columns)))
        body += f'<table:table-row><table:table-cell office:value-type="string"><text:p>{2000 + r}</text:p></table:table-cell>{cells}</table:table-row>'
    w, h = rnd.choice([(10, 7), (12, 8), (8, 6)])
    return CHART_TEMPLATE.format(pw=w + 0.4, ph=h + 0.4, w=w, h=h, kind=kind, title=f"Figures {rnd.randint(1, 99)}",
                                 last=chr(65 + columns), rows=rows + 1, series=series, columns=columns, heads=heads, body=body)


def plot(rnd, name):
    w, h = rnd.choice([(480, 320), (400, 300), (640, 400)])
    styles = ["with boxes", "with lines lw 2", "with linespoints", "with impulses lw 3", "with steps", "with filledcurves y1=0"]
    functions = ["sin(x)*{a}+{b}", "cos(x*{a})*2+{b}", "exp(-x/{a})*{b}", "x*{a}/10+{b}", "sqrt(x+1)*{a}+{b}"]
    plots = []
    for i in range(rnd.randint(1, 3)):
        f = rnd.choice(functions).format(a=rnd.randint(1, 5), b=rnd.randint(1, 6))
        plots.append(f'{f} {rnd.choice(styles)} title "series {i + 1}"')
    extra = rnd.choice(["set grid", "set key left top box", "set logscale y", "set style fill pattern 4 border", "set border 3"])
    return (f'set terminal emf color solid size {w},{h} font "DejaVu Sans,{rnd.choice([8, 10, 12])}"\n'
            f'set output "{name}.emf"\n'
            f'set title "Plot {rnd.randint(1, 99)}"\nset xrange [0:{rnd.randint(5, 12)}]\nset samples 60\n'
            f'set style fill solid 0.5 border -1\n{extra}\nplot {", ".join(plots)}\n')


def masked_tiles():
    # A pattern fill, which LibreOffice writes as tiles, each a mask and a
    # picture combined with the page by raster operations.
    defs = ('<pattern id="h" width="30" height="30" patternUnits="userSpaceOnUse">'
            '<circle cx="15" cy="15" r="10" fill="#d62728"/></pattern>')
    return svg(100, 60, '<ellipse cx="50" cy="30" rx="45" ry="25" fill="url(#h)" stroke="black"/>', defs)


KINDS = [bar_chart, pie_chart, line_chart, gradient_art, clipped, transformed, text_page, hatches, outlines]


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 45
    os.makedirs(out, exist_ok=True)
    charts = random.Random(2003)
    for i in range(count // 3):
        with open(os.path.join(out, f"office_chart_{i:03d}.fodg"), "w") as f:
            f.write(office_chart(charts))
        with open(os.path.join(out, f"plot_{i:03d}.gp"), "w") as f:
            f.write(plot(charts, f"plot_{i:03d}"))
    rnd = random.Random(1995)
    with open(os.path.join(out, "rulers.svg"), "w") as f:
        f.write(rulers())
    with open(os.path.join(out, "masked_tiles.svg"), "w") as f:
        f.write(masked_tiles())
    for i in range(count):
        kind = KINDS[i % len(KINDS)]
        with open(os.path.join(out, f"{kind.__name__}_{i:03d}.svg"), "w") as f:
            f.write(kind(rnd))


if __name__ == "__main__":
    main()
