#include "base/notices.h"

#include <QJsonObject>

#include <cstdio>

namespace base {

Notices::Notices(EventLog& log) : m_log(log) {}

void Notices::notice(const QString& text)
{
    std::lock_guard lock(m_mutex);
    if (m_told.contains(text))
        return;
    m_told.insert(text);
    send(text);
}

void Notices::tell(const QString& text)
{
    std::lock_guard lock(m_mutex);
    send(text);
}

void Notices::send(const QString& text)
{
    if (m_log.enabled())
        m_log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("notice")}, {QStringLiteral("text"), text}});
    else
        toTerminal(text);
}

void Notices::detail(const QString& text)
{
    if (m_verbose)
        toTerminal(text);
}

void Notices::toTerminal(const QString& text)
{
    const QString line = QStringLiteral("loomplay: ") + text;
    if (m_sink) {
        m_sink(line);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

} // namespace base
