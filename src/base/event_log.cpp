#include "base/event_log.h"

namespace base {

void EventLog::write(const QJsonObject& entry)
{
    if (!m_enabled)
        return;
    if (m_sink)
        m_sink(entry);
    else
        m_entries.push_back(entry);
}

std::vector<QJsonObject> EventLog::ofType(const QString& type) const
{
    std::vector<QJsonObject> out;
    for (const QJsonObject& e : m_entries) {
        if (e.value(QStringLiteral("type")).toString() == type)
            out.push_back(e);
    }
    return out;
}

} // namespace base
