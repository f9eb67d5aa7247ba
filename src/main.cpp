#include "app/application_identity.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/frm_welcome.h"
#include "app/game_chooser.h"
#include "app/game_folders.h"
#include "app/recent_games.h"
#include "app/runtime.h"
#include "authoring/check_command.h"
#include "authoring/recorder.h"
#include "automation/script_runner.h"
#include "base/code_page.h"
#include "base/failure.h"
#include "devices/sound_font.h"
#include "platform/qt_dialogs.h"
#include "platform/termination_signals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Offscreen windows cannot be raised or sized by hints; Qt says so on every
// call, which would bury the JSON lines of a scripted run.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")) || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

int fail(const QString& message)
{
    std::fprintf(stderr, "loomplay: %s\n", qPrintable(message));
    return app::CommandLine::kUsageError;
}

// A command line the player cannot follow: what is wrong, then how it is used.
int usageError(const QString& message)
{
    std::fprintf(stderr, "loomplay: %s\n%s (loomplay --help lists the options)\n", qPrintable(message),
                 qPrintable(app::CommandLine::usage()));
    return app::CommandLine::kUsageError;
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The game a person chooses from the games played before or from a folder;
// nothing when they close the chooser.
std::optional<QString> chooseGame(const base::CodePage& codePage)
{
    app::RecentGames games;
    platform::QtDialogs dialogs;
    app::GameChooser chooser(games, dialogs, codePage);
    return chooser.exec();
}

// Plays one game from its welcome window until that window closes, which
// ends the game's windows; the exit status. running points at the game's
// runtime while it exists, for a termination signal to end it.
int playGame(const run::RuntimeOptions& options, const app::CommandLine& line, const automation::ScriptRunner::LineSource& lines, double dpi,
             app::Runtime*& running)
{
    app::Runtime rt(options);
    running = &rt;
    // Gone before the runtime is: a signal during its tear-down finds none.
    const std::unique_ptr<app::Runtime*, void (*)(app::Runtime**)> forgetRuntime(&running, [](app::Runtime** r) { *r = nullptr; });
    rt.display.setLogicalDpi(dpi);
    rt.notices.setVerbose(line.isSet(QStringLiteral("verbose")));
    rt.log.setSink([](const QJsonObject& entry) {
        std::fputs(QJsonDocument(entry).toJson(QJsonDocument::Compact).constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    rt.onEnded = [] { QCoreApplication::quit(); };
    std::unique_ptr<authoring::Recorder> recorder;
    const QString recording = line.value(QStringLiteral("record"));
    if (!recording.isEmpty()) {
        recorder = std::make_unique<authoring::Recorder>(rt, recording);
        if (!recorder->isOpen())
            return fail(QStringLiteral("cannot write the recording %1: %2").arg(recording, recorder->errorString()));
    }

    // Answers at the top of a script are for the questions of the start-up.
    automation::ScriptRunner runner(rt, line.value(QStringLiteral("shots")));
    if (options.scripted)
        runner.queueStartUpAnswers(lines);
    app::FrmWelcome& welcome = rt.frmWelcome();
    int status = 0;
    if (!rt.ended()) {
        welcome.show();
        status = options.scripted ? (runner.run(lines) ? 0 : 1) : QApplication::exec();
    }
    // A recording that could not be written in full is no script to trust.
    if (recorder && !recorder->finish())
        return fail(QStringLiteral("cannot write the recording %1: %2").arg(recording, recorder->errorString()));
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    // The command line is read before anything needs a display, so that a
    // mistake, --help or --version work anywhere.
    app::CommandLine line;
    if (!line.parse(argumentsOf(argc, argv)))
        return usageError(line.error());
    if (line.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(app::CommandLine::help()), stdout);
        return 0;
    }
    if (line.isSet(QStringLiteral("version"))) {
        std::printf("loomplay %s\n", LOOM_VERSION);
        return 0;
    }
    const QStringList positional = line.positional();
    if (positional.size() > 1)
        return usageError(QStringLiteral("one game folder at a time: %1").arg(positional.join(u' ')));
    if (line.isSet(QStringLiteral("windowed")) && line.isSet(QStringLiteral("fullscreen")))
        return usageError(QStringLiteral("--windowed and --fullscreen exclude each other"));
    if (line.isSet(QStringLiteral("headless")) && !line.isSet(QStringLiteral("script")))
        return usageError(QStringLiteral("--headless needs --script FILE"));
    // A check opens no window either: it runs offscreen, with settings of its own.
    const bool checking = line.isSet(QStringLiteral("check"));
    for (const QString& option : {QStringLiteral("json"), QStringLiteral("map")}) {
        if (line.isSet(option) && !checking)
            return usageError(QStringLiteral("--%1 goes with --check").arg(option));
    }
    const bool headless = line.isSet(QStringLiteral("headless")) || checking;

    run::RuntimeOptions options;
    try {
        options.codePage = base::CodePage::named(line.isSet(QStringLiteral("codepage")) ? line.value(QStringLiteral("codepage")) : options.codePage).name();
    } catch (const base::Failure& e) {
        return fail(QString::fromStdString(e.what()));
    }
    // A folder named on the command line must be a game; a headless run
    // plays whatever is there, as the start-up of the game itself would.
    if (!positional.isEmpty()) {
        options.projectDir = QDir(positional.first()).absolutePath();
        const QString why = app::WhyNotAGame(options.projectDir);
        if (!why.isEmpty() && !checking && (!headless || !QFileInfo(options.projectDir).isDir()))
            return fail(why);
    }

    // Headless runs must choose Qt's platform before the application exists.
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietOffscreenWarnings);
    }
    // The per-user settings live in XDG_CONFIG_HOME; it must point where
    // this run keeps them before anything reads them. A headless run not
    // told where keeps them in a folder of its own, removed when it ends,
    // so that scripts never touch the player's real settings.
    std::optional<QTemporaryDir> ownSettings;
    if (const QString dir = line.value(QStringLiteral("settings")); !dir.isEmpty()) {
        qputenv("XDG_CONFIG_HOME", dir.toLocal8Bit());
    } else if (headless && !qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        ownSettings.emplace(QDir::tempPath() + QStringLiteral("/loomplay-settings-XXXXXX"));
        if (!ownSettings->isValid())
            return fail(QStringLiteral("cannot make a settings folder in %1").arg(QDir::tempPath()));
        qputenv("XDG_CONFIG_HOME", ownSettings->path().toLocal8Bit());
    }

    // Without a display Qt would abort in its own words.
    std::optional<app::DisplayCheck> display;
    if (!headless) {
        if (const QString missing = app::DisplayCheck::missing(); !missing.isEmpty())
            return fail(missing);
        display.emplace();
    }
    QApplication application(argc, argv);
    display.reset();
    // Before the first window: Qt names the windows' class after it.
    app::SetApplicationIdentity();
    QApplication::setApplicationVersion(QStringLiteral(LOOM_VERSION));

    // Ctrl+C, kill and the end of the session end the player as its Exit
    // does, once the running windows let them: before a game has started
    // only the event loops have to end.
    app::Runtime* running = nullptr;
    const platform::TerminationSignals termination([&running](int) {
        if (running)
            running->EndFromOutside();
        else
            QCoreApplication::exit();
    });
    const auto endStatus = [&termination](int status) {
        return termination.received() ? platform::TerminationSignals::exitStatusFor(termination.received()) : status;
    };

    if (checking) {
        return authoring::RunCheck({options.projectDir.isEmpty() ? QCoreApplication::applicationDirPath() : options.projectDir, options.codePage,
                                    line.isSet(QStringLiteral("json")), line.value(QStringLiteral("map"))});
    }
    // Without a game folder the player plays the game of its own folder (a
    // headless run, which never asks, plays whatever is there); where that
    // holds none, as when started from the desktop's menu, it asks which
    // game to play, and asks again whenever a game's welcome window closes.
    const bool choosing = options.projectDir.isEmpty() && !headless && !app::WhyNotAGame(QCoreApplication::applicationDirPath()).isEmpty();
    if (options.projectDir.isEmpty() && !choosing) {
        options.projectDir = QCoreApplication::applicationDirPath();
    } else if (!choosing && !headless) {
        // A game started from the command line is one played before, too.
        try {
            app::RecentGames().add(options.projectDir, app::ReadGameName(options.projectDir, base::CodePage(options.codePage)));
        } catch (const base::Failure& e) {
            std::fprintf(stderr, "loomplay: %s\n", e.what());
        }
    }
    options.scripted = headless;
    options.debug = line.isSet(QStringLiteral("debug"));
    options.fullScreen = !line.isSet(QStringLiteral("windowed"));
    options.mute = line.isSet(QStringLiteral("mute"));
    if (line.isSet(QStringLiteral("soundfont"))) {
        options.soundFont = QFileInfo(line.value(QStringLiteral("soundfont"))).absoluteFilePath();
        try {
            devices::CheckSoundFont(options.soundFont);
        } catch (const base::Failure& e) {
            return fail(QString::fromStdString(e.what()));
        }
    }
    if (headless || line.isSet(QStringLiteral("screen"))) {
        const QString value = line.isSet(QStringLiteral("screen")) ? line.value(QStringLiteral("screen")) : QStringLiteral("1024x768");
        const QStringList size = value.split(u'x');
        bool okW = false, okH = false;
        const int w = size.value(0).toInt(&okW);
        const int h = size.value(1).toInt(&okH);
        if (size.size() != 2 || !okW || !okH || w <= 0 || h <= 0)
            return fail(QStringLiteral("--screen takes a size such as 1024x768"));
        options.screen = QSize(w, h);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        options.screen = screen->size();
    }
    if (line.isSet(QStringLiteral("start-time"))) {
        options.startTime = QDateTime::fromString(line.value(QStringLiteral("start-time")), Qt::ISODate);
        if (!options.startTime.isValid())
            return fail(QStringLiteral("--start-time takes a time such as 2026-01-31T09:30:00"));
    }

    if (line.isSet(QStringLiteral("mount-table"))) {
        QFile table(line.value(QStringLiteral("mount-table")));
        if (!table.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read the mount table %1").arg(table.fileName()));
        options.mountTable = QString::fromLocal8Bit(table.readAll());
    }

    // The script is read as it plays, never held whole.
    QFile scriptFile;
    QTextStream script;
    if (headless) {
        scriptFile.setFileName(line.value(QStringLiteral("script")));
        if (!scriptFile.open(QIODevice::ReadOnly | QIODevice::Text))
            return fail(QStringLiteral("cannot read the script %1").arg(scriptFile.fileName()));
        script.setDevice(&scriptFile);
        script.setEncoding(QStringConverter::Utf8);
    }
    const automation::ScriptRunner::LineSource lines = automation::ScriptRunner::linesOf(script);

    double dpi = 96;
    if (line.isSet(QStringLiteral("dpi"))) {
        bool ok = false;
        dpi = line.value(QStringLiteral("dpi")).toDouble(&ok);
        if (!ok || dpi < 24 || dpi > 960)
            return fail(QStringLiteral("--dpi takes a number of dots per inch such as 96 or 120"));
    } else if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !headless) {
        dpi = screen->logicalDotsPerInch();
    }

    for (;;) {
        if (choosing) {
            const std::optional<QString> chosen = chooseGame(base::CodePage(options.codePage));
            if (!chosen)
                return endStatus(0);
            options.projectDir = *chosen;
        }
        const int status = playGame(options, line, lines, dpi, running);
        if (!choosing || status != 0 || termination.received())
            return endStatus(status);
    }
}
