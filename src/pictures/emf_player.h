#pragma once

#include <QByteArray>
#include <QImage>

namespace base {
class ByteReader;
}

namespace pictures {

class DrawingBudget;
class GdiPainter;

// Enhanced metafiles (EMF), their size the frame their header gives in
// hundredths of a millimetre: drawn record by record onto a transparent
// picture of that size at 96 dots an inch.
// Records it does not know, and records cut short, are skipped.
class EmfPlayer {
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
    explicit EmfPlayer(GdiPainter& dc) : m_dc(dc) {}
    void play(const base::ByteReader& record);

    GdiPainter& m_dc;
};

} // namespace pictures
