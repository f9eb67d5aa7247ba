#include "media/mmedia.h"

#include "devices/media_commands.h"
#include "formats/quoted_field_reader.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <random>

namespace media {

void Mmedia::open(const QString& file, const QString& type)
{
    if (!m_alias.isEmpty())
        mmClose();
    m_alias = file.right(3) + QString::number(m_clock.now().time().minute());
    m_fileName = file;
    m_commands.send(QStringLiteral("Open \"") + file + QStringLiteral("\" ALIAS ") + m_alias + QStringLiteral(" TYPE ") + type
                    + QStringLiteral(" wait"));
}

void Mmedia::mmClose()
{
    if (!m_alias.isEmpty())
        m_commands.send(QStringLiteral("Close ") + m_alias);
    m_alias.clear();
    m_fileName.clear();
}

void Mmedia::mmPause()
{
    if (!m_alias.isEmpty())
        m_commands.send(QStringLiteral("Pause ") + m_alias);
}

void Mmedia::mmPlay()
{
    if (!m_alias.isEmpty())
        m_commands.send(QStringLiteral("Play ") + m_alias);
}

void Mmedia::mmStop()
{
    if (!m_alias.isEmpty())
        m_commands.send(QStringLiteral("Stop ") + m_alias);
}

void Mmedia::mmSeek(float position)
{
    // Sent even when closed (an empty alias), and then fails quietly.
    m_commands.send(QStringLiteral("Seek ") + m_alias + QStringLiteral(" to ") + QString::number(position, 'g', 7));
}

float Mmedia::number(const QString& what)
{
    if (m_alias.isEmpty())
        return 0;
    QString reply;
    m_commands.send(QStringLiteral("Status ") + m_alias + what, &reply);
    return static_cast<float>(formats::QuotedFieldReader::leadingNumber(reply));
}

void Mmedia::PlayMovie(const QString& file, qint64 parentHandle)
{
    if (!m_files.fileExists(file))
        return;
    // Seeded from the time of day: on a virtual clock a run repeats.
    std::mt19937 random(static_cast<std::uint32_t>(m_clock.now().time().msecsSinceStartOfDay()));
    const double fraction = std::generate_canonical<double, 32>(random);
    m_alias = QString::number(static_cast<int>(fraction * 50) + 1);
    m_commands.send(QStringLiteral("Open \"") + file + QStringLiteral("\" ALIAS ") + m_alias + QStringLiteral(" TYPE AviVideo wait parent ")
                    + QString::number(parentHandle) + QStringLiteral(" style child"));
    m_commands.send(QStringLiteral("play ") + m_alias + QStringLiteral(" window"));
}

void Mmedia::StopMovie()
{
    m_commands.send(QStringLiteral("Stop ") + m_alias);
    m_commands.send(QStringLiteral("Close ") + m_alias);
    m_clock.doEvents();
}

QString Mmedia::Status()
{
    QString reply;
    m_commands.send(QStringLiteral("Status ") + m_alias + QStringLiteral(" mode"), &reply);
    return reply;
}

} // namespace media
