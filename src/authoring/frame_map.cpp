#include "authoring/frame_map.h"

#include "base/failure.h"
#include "platform/safe_file.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>

namespace authoring {

namespace {

using Kind = FrameGraph::Link::Kind;

QString id(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'"', QStringLiteral("\\\""));
    escaped.replace(u'\n', QStringLiteral("\\n"));
    return u'"' + escaped + u'"';
}

QString edgeStyle(Kind kind, bool broken)
{
    if (broken)
        return QStringLiteral("color=\"#c62828\", fontcolor=\"#c62828\", penwidth=2");
    switch (kind) {
    case Kind::Area:
        return QStringLiteral("color=\"#37474f\"");
    case Kind::Object:
        return QStringLiteral("color=\"#2e7d32\", fontcolor=\"#2e7d32\"");
    case Kind::Timer:
        return QStringLiteral("color=\"#1565c0\", fontcolor=\"#1565c0\", style=bold");
    case Kind::Back:
        return QStringLiteral("color=\"#9e9e9e\", fontcolor=\"#757575\", style=dashed");
    }
    return QString();
}

// A failure to write the map names the map.
void writeMapFile(const QString& file, const QByteArray& bytes)
{
    try {
        platform::WriteFileSafely(std::filesystem::path(file.toStdString()), bytes);
    } catch (const base::Failure& e) {
        throw base::Failure(QStringLiteral("cannot write the map %1: %2").arg(file, QString::fromStdString(e.what())));
    }
}

} // namespace

QString FrameMap::dot() const
{
    QString out;
    out += QStringLiteral("digraph frames {\n");
    out += QStringLiteral("  graph [rankdir=LR, fontname=\"Liberation Sans\", fontsize=16, labelloc=t, nodesep=0.4, ranksep=0.8");
    if (!m_title.isEmpty())
        out += QStringLiteral(", label=%1").arg(id(m_title));
    out += QStringLiteral("];\n");
    out += QStringLiteral("  node [shape=box, style=\"rounded,filled\", fillcolor=\"#f5efe3\", color=\"#5d4037\", fontname=\"Liberation Sans\", fontsize=13];\n");
    out += QStringLiteral("  edge [fontname=\"Liberation Sans\", fontsize=10, arrowsize=0.8];\n");
    out += QStringLiteral("  start [shape=circle, label=\"start\", style=filled, fillcolor=\"#5d4037\", fontcolor=white, fontsize=10, width=0.5, fixedsize=true];\n");
    QSet<QString> frames;
    for (const QString& frame : m_graph.frames) {
        frames.insert(frame);
        out += QStringLiteral("  %1").arg(id(frame));
        if (m_graph.unreachable.contains(frame))
            out += QStringLiteral(" [label=%1, style=\"rounded,filled,dashed\", fillcolor=\"#eeeeee\", fontcolor=\"#757575\", color=\"#9e9e9e\"]")
                       .arg(id(frame + QStringLiteral("\n(unreachable)")));
        out += QStringLiteral(";\n");
    }
    // Links that lead nowhere end in a red box of the name they give.
    QSet<QString> missing;
    auto missingNode = [&](const QString& name) {
        const QString node = QStringLiteral("missing: ") + name;
        if (!missing.contains(node)) {
            missing.insert(node);
            out += QStringLiteral("  %1 [label=%2, style=\"rounded,dashed\", color=\"#c62828\", fontcolor=\"#c62828\"];\n")
                       .arg(id(node), id((name.isEmpty() ? QStringLiteral("(no name)") : name) + QStringLiteral("\n(no such frame)")));
        }
        return node;
    };
    if (m_graph.initialFrameExists)
        out += QStringLiteral("  start -> %1 [color=\"#5d4037\", penwidth=2];\n").arg(id(m_graph.initialFrame));
    else
        out += QStringLiteral("  start -> %1 [%2];\n").arg(id(missingNode(m_graph.initialFrame)), edgeStyle(Kind::Area, true));
    // One arrow for each pair of frames and kind of way, naming all that
    // carry it.
    struct Edge {
        QString from, to;
        Kind kind;
        bool broken;
        QStringList labels;
    };
    std::vector<Edge> edges;
    for (const FrameGraph::Link& link : m_graph.links) {
        const QString to = link.broken ? missingNode(link.to) : link.to;
        auto same = std::find_if(edges.begin(), edges.end(), [&](const Edge& e) {
            return e.from == link.from && e.to == to && e.kind == link.kind && e.broken == link.broken;
        });
        const QString label = link.kind == Kind::Back ? QStringLiteral("back (%1)").arg(link.label) : link.label;
        if (same == edges.end())
            edges.push_back({link.from, to, link.kind, link.broken, {label}});
        else if (!same->labels.contains(label))
            same->labels << label;
    }
    for (const Edge& e : edges) {
        out += QStringLiteral("  %1 -> %2 [label=%3, %4];\n")
                   .arg(id(e.from), id(e.to), id(e.labels.join(QStringLiteral("\n"))), edgeStyle(e.kind, e.broken));
    }
    out += QStringLiteral("}\n");
    return out;
}

void FrameMap::write(const QString& file) const
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    const QByteArray text = dot().toUtf8();
    if (suffix == QLatin1String("dot") || suffix == QLatin1String("gv")) {
        writeMapFile(file, text);
        return;
    }
    if (suffix != QLatin1String("svg"))
        throw base::Failure(QStringLiteral("the map %1 must end in .svg or .dot").arg(file));
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dot"));
    if (program.isEmpty())
        throw base::Failure(QStringLiteral("Graphviz's dot program is not installed (Debian package graphviz): it lays out the SVG map; "
                                               "a map ending in .dot needs no Graphviz"));
    QProcess dot;
    dot.start(program, {QStringLiteral("-Tsvg")});
    if (!dot.waitForStarted(10000))
        throw base::Failure(QStringLiteral("cannot start %1").arg(program));
    dot.write(text);
    dot.closeWriteChannel();
    if (!dot.waitForFinished(60000) || dot.exitStatus() != QProcess::NormalExit || dot.exitCode() != 0)
        throw base::Failure(QStringLiteral("dot could not lay out the map: %1").arg(QString::fromLocal8Bit(dot.readAllStandardError()).trimmed()));
    writeMapFile(file, dot.readAllStandardOutput());
}

} // namespace authoring
