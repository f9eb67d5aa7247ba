#include "demo/metafile_writer.h"

#include <QDir>
#include <QFileInfo>

#include <uemf.h>
#include <uwmf.h>

#include <cstdlib>
#include <vector>

struct MetafileWriter::Track {
    Kind kind;
    QSize size;
    EMFTRACK* emf = nullptr;
    EMFHANDLES* emfHandles = nullptr;
    WMFTRACK* wmf = nullptr;
    WMFHANDLES* wmfHandles = nullptr;
    uint32_t pen = 0;
    uint32_t brush = 0;

    // False when the file could not be opened: nothing is recorded.
    bool open() const { return kind == Kind::Emf ? emf != nullptr && emf->fp != nullptr : wmf != nullptr && wmf->fp != nullptr; }

    void append(char* record)
    {
        if (!open()) {
            std::free(record);
            return;
        }
        if (!record)
            return;
        if (kind == Kind::Emf)
            emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), emf, 1);
        else
            wmf_append(reinterpret_cast<U_METARECORD*>(record), wmf, 1);
    }

    // Selects a new object and deletes the one it replaces.
    void replace(uint32_t& current, uint32_t created)
    {
        if (kind == Kind::Emf) {
            append(selectobject_set(created, emfHandles));
            if (current)
                append(deleteobject_set(&current, emfHandles));
        } else {
            append(wselectobject_set(created, wmfHandles));
            if (current)
                append(wdeleteobject_set(&current, wmfHandles));
        }
        current = created;
    }

    U_RECTL bounds() const { return rectl_set(point32_set(0, 0), point32_set(size.width() - 1, size.height() - 1)); }
};

namespace {

U_COLORREF colorRef(QColor c) { return U_RGB(c.red(), c.green(), c.blue()); }
U_RECTL rectL(const QRect& r) { return rectl_set(point32_set(r.left(), r.top()), point32_set(r.right() + 1, r.bottom() + 1)); }
U_RECT16 rect16(const QRect& r) { return U_RECT16_set(point16_set(r.left(), r.top()), point16_set(r.right() + 1, r.bottom() + 1)); }

std::vector<U_POINT16> points16(const QList<QPoint>& points)
{
    std::vector<U_POINT16> out;
    for (const QPoint& p : points)
        out.push_back(point16_set(static_cast<int16_t>(p.x()), static_cast<int16_t>(p.y())));
    return out;
}

} // namespace

MetafileWriter::MetafileWriter(Kind kind, QSize size, const QString& path) : m_track(std::make_unique<Track>())
{
    Track& t = *m_track;
    t.kind = kind;
    t.size = size;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray name = path.toLocal8Bit();
    if (kind == Kind::Emf) {
        if (emf_start(name.constData(), 4096, 4096, &t.emf) != 0)
            t.emf = nullptr;
        emf_htable_create(128, 128, &t.emfHandles);
        // A reference device of 96 dots an inch, the frame in hundredths of
        // a millimetre.
        const U_RECTL frame = rectl_set(point32_set(0, 0), point32_set(size.width() * 2540 / 96, size.height() * 2540 / 96));
        t.append(U_EMRHEADER_set(t.bounds(), frame, nullptr, 0, nullptr, sizel_set(1024, 768), sizel_set(271, 203), 0));
        t.append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    } else {
        if (wmf_start(name.constData(), 4096, 4096, &t.wmf) != 0)
            t.wmf = nullptr;
        wmf_htable_create(128, 128, &t.wmfHandles);
        U_PAIRF inches{static_cast<float>(size.width() / 96.0), static_cast<float>(size.height() / 96.0)};
        if (t.open())
            wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(&inches, 96)), t.wmf, 1);
        t.append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
        t.append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
        t.append(U_WMRSETWINDOWEXT_set(point16_set(static_cast<int16_t>(size.width()), static_cast<int16_t>(size.height()))));
        t.append(U_WMRSETBKMODE_set(U_TRANSPARENT));
    }
}

MetafileWriter::~MetafileWriter()
{
    if (m_track->emf)
        emf_free(&m_track->emf);
    if (m_track->emfHandles)
        emf_htable_free(&m_track->emfHandles);
    if (m_track->wmf)
        wmf_free(&m_track->wmf);
    if (m_track->wmfHandles)
        wmf_htable_free(&m_track->wmfHandles);
}

void MetafileWriter::setPen(QColor color, int width)
{
    Track& t = *m_track;
    uint32_t created = 0;
    if (t.kind == Kind::Emf)
        t.append(createpen_set(&created, t.emfHandles, logpen_set(U_PS_SOLID, point32_set(width, width), colorRef(color))));
    else
        t.append(wcreatepenindirect_set(&created, t.wmfHandles, U_PEN_set(U_PS_SOLID, static_cast<uint16_t>(width), colorRef(color))));
    t.replace(t.pen, created);
}

void MetafileWriter::setNoPen()
{
    Track& t = *m_track;
    uint32_t created = 0;
    if (t.kind == Kind::Emf)
        t.append(createpen_set(&created, t.emfHandles, logpen_set(U_PS_NULL, point32_set(0, 0), colorRef(Qt::black))));
    else
        t.append(wcreatepenindirect_set(&created, t.wmfHandles, U_PEN_set(U_PS_NULL, 0, colorRef(Qt::black))));
    t.replace(t.pen, created);
}

void MetafileWriter::setBrush(QColor color)
{
    Track& t = *m_track;
    uint32_t created = 0;
    if (t.kind == Kind::Emf)
        t.append(createbrushindirect_set(&created, t.emfHandles, logbrush_set(U_BS_SOLID, colorRef(color), 0)));
    else
        t.append(wcreatebrushindirect_set(&created, t.wmfHandles, U_WLOGBRUSH_set(U_BS_SOLID, colorRef(color), 0)));
    t.replace(t.brush, created);
}

void MetafileWriter::setNoBrush()
{
    Track& t = *m_track;
    uint32_t created = 0;
    if (t.kind == Kind::Emf)
        t.append(createbrushindirect_set(&created, t.emfHandles, logbrush_set(U_BS_NULL, colorRef(Qt::black), 0)));
    else
        t.append(wcreatebrushindirect_set(&created, t.wmfHandles, U_WLOGBRUSH_set(U_BS_NULL, colorRef(Qt::black), 0)));
    t.replace(t.brush, created);
}

void MetafileWriter::setTextColor(QColor color)
{
    Track& t = *m_track;
    t.append(t.kind == Kind::Emf ? U_EMRSETTEXTCOLOR_set(colorRef(color)) : U_WMRSETTEXTCOLOR_set(colorRef(color)));
}

void MetafileWriter::rectangle(const QRect& r)
{
    Track& t = *m_track;
    t.append(t.kind == Kind::Emf ? U_EMRRECTANGLE_set(rectL(r)) : U_WMRRECTANGLE_set(rect16(r)));
}

void MetafileWriter::roundRect(const QRect& r, QSize corner)
{
    Track& t = *m_track;
    t.append(t.kind == Kind::Emf ? U_EMRROUNDRECT_set(rectL(r), sizel_set(corner.width(), corner.height()))
                                 : U_WMRROUNDRECT_set(static_cast<int16_t>(corner.width()), static_cast<int16_t>(corner.height()), rect16(r)));
}

void MetafileWriter::ellipse(const QRect& r)
{
    Track& t = *m_track;
    t.append(t.kind == Kind::Emf ? U_EMRELLIPSE_set(rectL(r)) : U_WMRELLIPSE_set(rect16(r)));
}

void MetafileWriter::polygon(const QList<QPoint>& points)
{
    Track& t = *m_track;
    const std::vector<U_POINT16> p = points16(points);
    t.append(t.kind == Kind::Emf ? U_EMRPOLYGON16_set(t.bounds(), static_cast<uint32_t>(p.size()), p.data())
                                 : U_WMRPOLYGON_set(static_cast<uint16_t>(p.size()), p.data()));
}

void MetafileWriter::polyPolygon(const QList<QList<QPoint>>& polygons)
{
    Track& t = *m_track;
    QList<QPoint> all;
    std::vector<uint32_t> counts32;
    std::vector<uint16_t> counts16;
    for (const QList<QPoint>& p : polygons) {
        all += p;
        counts32.push_back(static_cast<uint32_t>(p.size()));
        counts16.push_back(static_cast<uint16_t>(p.size()));
    }
    const std::vector<U_POINT16> p = points16(all);
    t.append(t.kind == Kind::Emf
                 ? U_EMRPOLYPOLYGON16_set(t.bounds(), static_cast<uint32_t>(counts32.size()), counts32.data(), static_cast<uint32_t>(p.size()), p.data())
                 : U_WMRPOLYPOLYGON_set(static_cast<uint16_t>(counts16.size()), counts16.data(), p.data()));
}

void MetafileWriter::polyline(const QList<QPoint>& points)
{
    Track& t = *m_track;
    const std::vector<U_POINT16> p = points16(points);
    t.append(t.kind == Kind::Emf ? U_EMRPOLYLINE16_set(t.bounds(), static_cast<uint32_t>(p.size()), p.data())
                                 : U_WMRPOLYLINE_set(static_cast<uint16_t>(p.size()), p.data()));
}

void MetafileWriter::arc(const QRect& r, QPoint start, QPoint end)
{
    Track& t = *m_track;
    t.append(t.kind == Kind::Emf ? U_EMRARC_set(rectL(r), point32_set(start.x(), start.y()), point32_set(end.x(), end.y()))
                                 : U_WMRARC_set(point16_set(start.x(), start.y()), point16_set(end.x(), end.y()), rect16(r)));
}

void MetafileWriter::pie(const QRect& r, QPoint start, QPoint end)
{
    Track& t = *m_track;
    t.append(t.kind == Kind::Emf ? U_EMRPIE_set(rectL(r), point32_set(start.x(), start.y()), point32_set(end.x(), end.y()))
                                 : U_WMRPIE_set(point16_set(start.x(), start.y()), point16_set(end.x(), end.y()), rect16(r)));
}

void MetafileWriter::text(QPoint at, const QString& text, int height, const QString& face)
{
    Track& t = *m_track;
    uint32_t font = 0;
    if (t.kind == Kind::Emf) {
        std::u16string faceName = face.toStdU16String();
        faceName.resize(32);
        const U_LOGFONT logFont = logfont_set(-height, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                                              U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, reinterpret_cast<uint16_t*>(faceName.data()));
        t.append(extcreatefontindirectw_set(&font, t.emfHandles, reinterpret_cast<const char*>(&logFont), nullptr));
        t.append(selectobject_set(font, t.emfHandles));
        std::u16string units = text.toStdU16String();
        std::vector<uint32_t> dx(units.size() + 1, 0);
        char* emrText = emrtext_set(point32_set(at.x(), at.y()), static_cast<uint32_t>(units.size()), 2, units.data(), U_ETO_NONE,
                                    rectl_set(point32_set(0, 0), point32_set(-1, -1)), dx.data());
        t.append(U_EMREXTTEXTOUTW_set(t.bounds(), U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(emrText)));
        std::free(emrText);
        t.append(deleteobject_set(&font, t.emfHandles));
    } else {
        QByteArray faceName = face.toLatin1();
        U_FONT* logFont = U_FONT_set(static_cast<int16_t>(-height), 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                                     U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, faceName.data());
        t.append(wcreatefontindirect_set(&font, t.wmfHandles, logFont));
        std::free(logFont);
        t.append(wselectobject_set(font, t.wmfHandles));
        QByteArray bytes = text.toLatin1();
        t.append(U_WMRTEXTOUT_set(point16_set(static_cast<int16_t>(at.x()), static_cast<int16_t>(at.y())), bytes.data()));
        t.append(wdeleteobject_set(&font, t.wmfHandles));
    }
}

void MetafileWriter::bitmap(const QRect& dest, const QImage& image)
{
    Track& t = *m_track;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888).rgbSwapped();
    const int stride = (rgb.width() * 3 + 3) & ~3;
    // Rows bottom-up, each padded to four bytes.
    QByteArray pixels(stride * rgb.height(), '\0');
    for (int y = 0; y < rgb.height(); ++y)
        memcpy(pixels.data() + (rgb.height() - 1 - y) * stride, rgb.constScanLine(y), rgb.width() * 3);
    const U_BITMAPINFOHEADER header = bitmapinfoheader_set(rgb.width(), rgb.height(), 1, 24, U_BI_RGB, static_cast<uint32_t>(pixels.size()), 3780, 3780, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    const U_POINTL src = point32_set(0, 0), srcSize = point32_set(rgb.width(), rgb.height());
    if (t.kind == Kind::Emf) {
        t.append(U_EMRSTRETCHDIBITS_set(t.bounds(), point32_set(dest.x(), dest.y()), point32_set(dest.width(), dest.height()), src, srcSize,
                                        U_DIB_RGB_COLORS, U_SRCCOPY, info, static_cast<uint32_t>(pixels.size()), pixels.data()));
    } else {
        t.append(U_WMRSTRETCHDIB_set(point16_set(dest.x(), dest.y()), point16_set(dest.width(), dest.height()), point16_set(0, 0),
                                     point16_set(rgb.width(), rgb.height()), U_DIB_RGB_COLORS, U_SRCCOPY, info,
                                     static_cast<uint32_t>(pixels.size()), pixels.constData()));
    }
    std::free(info);
}

bool MetafileWriter::finish()
{
    Track& t = *m_track;
    if (!t.open())
        return false;
    if (t.kind == Kind::Emf) {
        t.append(U_EMREOF_set(0, nullptr, t.emf));
        return emf_finish(t.emf, t.emfHandles) == 0;
    }
    t.append(U_WMREOF_set());
    return wmf_finish(t.wmf) == 0;
}
