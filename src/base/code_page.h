#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace base {

// The game's ANSI code page. Data files hold single-byte (or Shift_JIS) text;
// everything inside the player is QString, converted here at the edge.
class CodePage {
public:
    explicit CodePage(QString name = QStringLiteral("windows-1252"));
    // Copied even when moved: a code page moved from still converts.
    CodePage(const CodePage&) = default;
    CodePage& operator=(const CodePage&) = default;

    // Throws base::Failure when the name is not a code page Qt knows.
    static CodePage named(const QString& name);

    const QString& name() const { return m_name; }
    // Each call converts on its own: nothing of an earlier call (a
    // character cut short at its end) carries over.
    QString decode(const QByteArray& bytes) const;
    // Characters the code page cannot hold become '?', as the system's own
    // conversion did.
    QByteArray encode(const QString& text) const;

private:
    struct Converters;

    QString m_name;
    // Shared by the copies, so a run makes one of each per code page.
    std::shared_ptr<Converters> m_converters;
};

} // namespace base
