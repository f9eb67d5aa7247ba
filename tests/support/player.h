#pragma once

#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "base/failure.h"
#include "engine/game.h"
#include "platform/scripted_dialogs.h"

#include <QJsonObject>

#include <memory>
#include <vector>

#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace testsupport {

class GameFolder;

// Options of a scripted player on a game folder at a fixed start time.
run::RuntimeOptions ScriptedOptions(const QString& folder, QSize screen = QSize(640, 480));

// An author's scripted run (--debug) of a copy of the demo made in the
// folder; null when the copy could not be made.
std::unique_ptr<app::Runtime> AuthorsDemoRun(const QString& folder);

// The texts of the message boxes shown so far; the log is then emptied.
std::vector<QString> TakeMessageTexts(app::Runtime& rt);

// A scripted player on a game folder: virtual clock, logged message boxes.
class Player {
public:
    explicit Player(const GameFolder& folder, QSize screen = QSize(1024, 768));
    explicit Player(const run::RuntimeOptions& options);

    app::Runtime& rt() { return *m_rt; }
    app::FrmWelcome& welcome() { return m_rt->frmWelcome(); }
    engine::Game& game() { return m_rt->game(); }

    // Loads the welcome window (start-up) and presses Start.
    void start();

    // The texts of every message box shown so far, then forgets them.
    std::vector<QString> takeMessages();
    std::vector<QJsonObject> boxes() const { return m_rt->log.ofType(QStringLiteral("msgbox")); }
    // The media calls so far, as their call texts.
    std::vector<QString> mediaCalls() const;

    // The standard failure report for a detail text, with the short strings.
    static QString errorReport(const QString& detail);

private:
    std::unique_ptr<app::Runtime> m_rt;
};

} // namespace testsupport
