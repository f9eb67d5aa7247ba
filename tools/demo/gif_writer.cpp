#include "demo/gif_writer.h"

#include "base/byte_writer.h"

namespace demo {

namespace {

// Index 255 stands for transparent pixels.
constexpr int kTransparent = 255;

int paletteIndex(QRgb c)
{
    if (qAlpha(c) < 128)
        return kTransparent;
    auto level = [](int v) { return (v * 5 + 127) / 255; };
    return level(qRed(c)) * 36 + level(qGreen(c)) * 6 + level(qBlue(c));
}

class BitWriter {
public:
    void put(int code, int bits)
    {
        m_acc |= static_cast<unsigned>(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.append(static_cast<char>(m_acc & 0xFF));
            m_acc >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(static_cast<char>(m_acc & 0xFF));
        return m_bytes;
    }

private:
    unsigned m_acc = 0;
    int m_count = 0;
    QByteArray m_bytes;
};

} // namespace

QByteArray EncodeAnimatedGif(const std::vector<QImage>& frames, int delayHundredths)
{
    if (frames.empty())
        return QByteArray();
    const int w = frames.front().width();
    const int h = frames.front().height();
    base::ByteWriter out;
    // The screen: its size, a table of 256 colours, background and aspect 0.
    out.raw("GIF89a").u16(w).u16(h).u8(0xF7).u8(0).u8(0);
    for (int i = 0; i < 256; ++i) {
        const int r = i < 216 ? (i / 36) * 51 : 0;
        const int g = i < 216 ? ((i / 6) % 6) * 51 : 0;
        const int b = i < 216 ? (i % 6) * 51 : 0;
        out.u8(r).u8(g).u8(b);
    }
    out.raw(QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19));
    for (const QImage& frame : frames) {
        const QImage img = frame.convertToFormat(QImage::Format_ARGB32);
        // Each frame replaces the last (disposal 2) with index 255 transparent.
        out.raw(QByteArray("\x21\xF9\x04\x09", 4)).u16(delayHundredths).u8(kTransparent).u8(0);
        // The image: at the top left, the whole size, codes of 8 bits to start.
        out.u8(0x2C).u16(0).u16(0).u16(w).u16(h).u8(0).u8(0x08);
        BitWriter bits;
        const int clear = 256;
        const int end = 257;
        bits.put(clear, 9);
        int sinceClear = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (sinceClear == 250) {
                    bits.put(clear, 9);
                    sinceClear = 0;
                }
                bits.put(paletteIndex(img.pixel(x, y)), 9);
                ++sinceClear;
            }
        }
        bits.put(end, 9);
        const QByteArray data = bits.finish();
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const qsizetype n = std::min<qsizetype>(255, data.size() - at);
            out.u8(n).raw(data.mid(at, n));
        }
        out.u8(0);
    }
    out.u8(0x3B);
    return out.bytes();
}

} // namespace demo
