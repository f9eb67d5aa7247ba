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

QByteArray WavFile(const std::vector<qint16>& samples, int rate)
{
    QByteArray out;
    auto put32 = [&out](quint32 v) {
        for (int i = 0; i < 4; ++i)
            out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto put16 = [&out](quint16 v) {
        out.append(static_cast<char>(v & 0xFF));
        out.append(static_cast<char>(v >> 8));
    };
    const auto data = static_cast<quint32>(samples.size() * 2);
    out.append("RIFF");
    put32(36 + data);
    out.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(static_cast<quint32>(rate));
    put32(static_cast<quint32>(rate) * 2);
    put16(2);
    put16(16);
    out.append("data");
    put32(data);
    for (qint16 sample : samples)
        put16(static_cast<quint16>(sample));
    return out;
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
    QByteArray track;
    auto var = [&track](quint32 v) {
        QByteArray bytes;
        bytes.prepend(static_cast<char>(v & 0x7F));
        while (v >>= 7)
            bytes.prepend(static_cast<char>((v & 0x7F) | 0x80));
        track.append(bytes);
    };
    auto event = [&](quint32 delta, std::initializer_list<int> bytes) {
        var(delta);
        for (int b : bytes)
            track.append(static_cast<char>(b));
    };
    event(0, {0xFF, 0x51, 0x03, (microsPerBeat >> 16) & 0xFF, (microsPerBeat >> 8) & 0xFF, microsPerBeat & 0xFF});
    event(0, {0xC0, program & 0x7F});
    for (int note : notes) {
        event(0, {0x90, note & 0x7F, 90});
        event(480, {0x80, note & 0x7F, 0});
    }
    event(0, {0xFF, 0x2F, 0x00});
    QByteArray out("MThd");
    auto put32 = [&out](quint32 v) {
        for (int i = 3; i >= 0; --i)
            out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put32(6);
    // Format 0, one track, 480 ticks a beat.
    out.append(QByteArray::fromHex("0000" "0001" "01e0"));
    out.append("MTrk");
    put32(static_cast<quint32>(track.size()));
    out.append(track);
    return out;
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
