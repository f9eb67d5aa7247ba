#pragma once

#include <QIconEngine>
#include <QMap>
#include <QPixmap>

namespace app {

// An icon drawn at several sizes, one picture file each, that reads a file
// only when a size is first asked for. A window system that wants every size
// (X11's window icon) still reads them all; one that never shows the icon
// (Wayland, headless runs) reads none, so start-up does not decode them.
class SizedIconEngine : public QIconEngine {
public:
    // files: the picture of each square size, by its side in pixels.
    explicit SizedIconEngine(QMap<int, QString> files);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    // The side of the smallest picture at least as large as size, or of the
    // largest when none is.
    int sideFor(const QSize& size) const;

    QMap<int, QString> m_files;
    QMap<int, QPixmap> m_read;
};

} // namespace app
