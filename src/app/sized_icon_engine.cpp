#include "app/sized_icon_engine.h"

#include <QPainter>

namespace app {

SizedIconEngine::SizedIconEngine(QMap<int, QString> files)
    : m_files(std::move(files))
{
}

int SizedIconEngine::sideFor(const QSize& size) const
{
    const int wanted = std::max(size.width(), size.height());
    const auto fitting = m_files.lowerBound(wanted);
    return fitting != m_files.cend() ? fitting.key() : m_files.lastKey();
}

QPixmap SizedIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State)
{
    if (m_files.isEmpty() || size.isEmpty())
        return {};
    const int side = sideFor(size);
    auto read = m_read.find(side);
    if (read == m_read.end())
        read = m_read.insert(side, QPixmap(m_files.value(side)));
    QPixmap picture = read.value();
    // Never larger than asked: a size between two drawn ones takes the
    // larger, scaled down.
    if (!picture.isNull() && (picture.width() > size.width() || picture.height() > size.height()))
        picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (mode == QIcon::Disabled || mode == QIcon::Selected)
        return QIcon(picture).pixmap(picture.size(), mode);
    return picture;
}

void SizedIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const QPixmap picture = pixmap(rect.size(), mode, state);
    const QRect placed(QPoint(), picture.size());
    painter->drawPixmap(placed.translated(rect.center() - placed.center()), picture);
}

QSize SizedIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    if (m_files.isEmpty())
        return {};
    const int side = sideFor(size);
    return QSize(side, side).boundedTo(size);
}

QList<QSize> SizedIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    for (const int side : m_files.keys())
        sizes.append(QSize(side, side));
    return sizes;
}

QIconEngine* SizedIconEngine::clone() const
{
    return new SizedIconEngine(*this);
}

QString SizedIconEngine::key() const
{
    return QStringLiteral("SizedIconEngine");
}

bool SizedIconEngine::isNull()
{
    return m_files.isEmpty();
}

} // namespace app
