#pragma once

#include <QByteArray>
#include <QString>

namespace base {

// The game's ANSI code page. Data files hold single-byte (or Shift_JIS) text;
// everything inside the player is QString, converted here at the edge.
class CodePage {
public:
    explicit CodePage(QString name = QStringLiteral("windows-1252"));

    // Throws base::Failure when the name is not a code page Qt knows.
    static CodePage named(const QString& name);

    const QString& name() const { return m_name; }
    QString decode(const QByteArray& bytes) const;
    // Characters the code page cannot hold become '?', as the system's own
    // conversion did.
    QByteArray encode(const QString& text) const;

private:
    QString m_name;
};

} // namespace base
