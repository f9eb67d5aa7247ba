#include "demo/authoring.h"

#include "base/byte_writer.h"
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
    // The type (2, a cursor), and the first entry's hot spot where an icon
    // keeps its planes and bits a pixel.
    base::ByteWriter cursor;
    cursor.raw(bytes.left(2)).u16(2).raw(bytes.mid(4, 6)).u16(hotX).u16(hotY);
    return cursor.raw(bytes.mid(14)).bytes();
}

QByteArray WavFile(const std::vector<qint16>& samples, int rate)
{
    const auto data = static_cast<quint32>(samples.size() * 2);
    base::ByteWriter out;
    out.raw("RIFF").u32(36 + data).raw("WAVEfmt ");
    out.u32(16).u16(1).u16(1).u32(static_cast<quint32>(rate)).u32(static_cast<quint32>(rate) * 2).u16(2).u16(16);
    out.raw("data").u32(data);
    for (qint16 sample : samples)
        out.u16(static_cast<quint16>(sample));
    return out.bytes();
}

std::vector<qint16> Tone(int milliseconds, double hertz, int rate)
{
    std::vector<qint16> out(static_cast<std::size_t>(qint64(rate) * milliseconds / 1000));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<qint16>(std::sin(2 * M_PI * hertz * static_cast<double>(i) / rate) * 12000);
    return out;
}

QByteArray MidiFile(const std::vector<int>& notes, int microsPerBeat, int program)
{
    base::ByteWriter track;
    auto var = [&track](quint32 v) {
        QByteArray bytes;
        bytes.prepend(static_cast<char>(v & 0x7F));
        while (v >>= 7)
            bytes.prepend(static_cast<char>((v & 0x7F) | 0x80));
        track.raw(bytes);
    };
    auto event = [&](quint32 delta, std::initializer_list<int> bytes) {
        var(delta);
        for (int b : bytes)
            track.u8(b);
    };
    var(0);
    track.u8(0xFF).u8(0x51).u8(0x03).u24be(microsPerBeat); // the tempo
    event(0, {0xC0, program & 0x7F});
    for (int note : notes) {
        event(0, {0x90, note & 0x7F, 90});
        event(480, {0x80, note & 0x7F, 0});
    }
    event(0, {0xFF, 0x2F, 0x00});
    base::ByteWriter out;
    // Format 0, one track, 480 ticks a beat.
    out.raw("MThd").u32be(6).u16be(0).u16be(1).u16be(480);
    out.raw("MTrk").u32be(static_cast<quint32>(track.bytes().size())).raw(track.bytes());
    return out.bytes();
}

QByteArray ChannelFile(const std::vector<ChannelRecord>& records)
{
    formats::QuotedFieldWriter w;
    for (int i = 0; i < 22; ++i)
        w.number(0);
    w.endRecord();
    for (const ChannelRecord& r : records)
        w.number(0).boolean(r.stop).boolean(r.play).string(r.wave).number(r.loop).endRecord();
    return w.bytes();
}

} // namespace demo
