#include "media/mmedia.h"

#include "formats/quoted_field_reader.h"
#include "platform/clock.h"
#include "platform/media_commands.h"

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
        m_commands.send(QStringLiteral("Play ") + m_alias + (m_wait ? QStringLiteral(" wait") : QString()));
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

QString Mmedia::Status()
{
    QString reply;
    m_commands.send(QStringLiteral("Status ") + m_alias + QStringLiteral(" mode"), &reply);
    return reply;
}

} // namespace media
