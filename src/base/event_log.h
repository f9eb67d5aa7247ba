#pragma once

#include <QJsonObject>

#include <functional>
#include <vector>

namespace base {

// The JSON lines of a scripted run: message boxes, media calls and dumps, in
// the order they happened. Interactive runs keep no log. A run that writes
// its lines out (a sink) keeps none of them, so a run of any length holds
// steady; without a sink the lines are kept for whoever reads them (tests).
class EventLog {
public:
    using Sink = std::function<void(const QJsonObject&)>;

    void setSink(Sink sink) { m_sink = std::move(sink); }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool enabled() const { return m_enabled; }

    void write(const QJsonObject& entry);

    // The lines kept so far (none when a sink takes them).
    const std::vector<QJsonObject>& entries() const { return m_entries; }
    // Entries of one type ("msgbox", "media", "dump").
    std::vector<QJsonObject> ofType(const QString& type) const;
    void clear() { m_entries.clear(); }

private:
    bool m_enabled = false;
    Sink m_sink;
    std::vector<QJsonObject> m_entries;
};

} // namespace base
