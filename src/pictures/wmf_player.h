#pragma once

#include <QByteArray>
#include <QImage>

namespace base {
class ByteReader;
}

namespace pictures {

class DrawingBudget;
class GdiPainter;

// Windows metafiles of the 16-bit kind, with the placeable header that gives
// their size: drawn record by record onto a transparent picture of that size.
// Records it does not know, and records cut short, are skipped.
class WmfPlayer {
public:
    static bool recognises(const QByteArray& bytes);
    // The size of the picture its headers give, without drawing it; throws
    // Failure when the headers are bad, which is the only way drawing fails.
    static QSize size(const QByteArray& bytes);
    // Throws Failure when the headers are bad.
    static QImage draw(const QByteArray& bytes);
    // The same within a budget of work: drawing stops, keeping what it
    // drew, at the first record that would pass it.
    static QImage draw(const QByteArray& bytes, DrawingBudget& budget);

private:
    explicit WmfPlayer(GdiPainter& dc) : m_dc(dc) {}
    void play(const base::ByteReader& record);

    GdiPainter& m_dc;
};

} // namespace pictures
