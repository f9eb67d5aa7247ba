#include "demo/authoring.h"

#include "formats/quoted_field_writer.h"

#include <QBuffer>

namespace demo {

QByteArray AreaFile(int left, int top, int width, int height, bool animated, const QString& picture, bool stretch,
                    const QString& cursor, const QStringList& zeroList, const QStringList& oneList)
{
    formats::QuotedFieldWriter w;
    w.number(left).number(top).number(width).number(height).number(animated ? 1 : 0).boolean(!picture.isEmpty())
        .string(picture).number(stretch ? 1 : 0).string(cursor).endRecord();
    const bool conditions = !zeroList.isEmpty() || !oneList.isEmpty();
    w.number(conditions ? 1 : 0).endRecord();
    if (conditions) {
        w.number(zeroList.size()).endRecord();
        for (const QString& n : zeroList)
            w.line(n);
        w.number(oneList.size()).endRecord();
        for (const QString& n : oneList)
            w.line(n);
    }
    return w.bytes();
}

QByteArray ActionRecord::bytes() const
{
    auto isText = [](int n) { return n == 2 || n == 7 || n == 9 || n == 13 || n == 17 || n == 26 || n == 28; };
    formats::QuotedFieldWriter w;
    for (int n = 1; n <= length && n <= 42; ++n) {
        if (n == 41) {
            for (const QStringList& list : lists) {
                w.number(list.size());
                for (const QString& name : list)
                    w.string(name);
            }
            continue;
        }
        auto it = fields.find(n);
        if (it == fields.end()) {
            if (n == 42)
                w.boolean(true);
            else if (isText(n))
                w.string(QString());
            else
                w.number(0);
        } else if (const int* i = std::get_if<int>(&it->second)) {
            w.number(*i);
        } else if (const bool* b = std::get_if<bool>(&it->second)) {
            w.boolean(*b);
        } else {
            w.string(std::get<QString>(it->second));
        }
        if (n % 8 == 0)
            w.endRecord();
    }
    w.endRecord();
    return w.bytes();
}

QByteArray CursorFile(const QImage& picture, int hotX, int hotY)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "ICO");
    if (bytes.size() < 14)
        return bytes;
    bytes[2] = 2; // a cursor
    bytes[10] = static_cast<char>(hotX & 0xFF);
    bytes[11] = static_cast<char>((hotX >> 8) & 0xFF);
    bytes[12] = static_cast<char>(hotY & 0xFF);
    bytes[13] = static_cast<char>((hotY >> 8) & 0xFF);
    return bytes;
}

} // namespace demo
