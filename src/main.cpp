#include "app/application_identity.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/frm_welcome.h"
#include "app/game_chooser.h"
#include "app/game_folders.h"
#include "app/player_options.h"
#include "app/recent_games.h"
#include "app/runtime.h"
#include "app/translations.h"
#include "authoring/check_command.h"
#include "authoring/live_reload.h"
#include "authoring/recorder.h"
#include "authoring/state_window.h"
#include "authoring/test_runner.h"
#include "automation/script_runner.h"
#include "base/code_page.h"
#include "base/failure.h"
#include "platform/qt_dialogs.h"
#include "platform/termination_signals.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QScreen>
#include <QStandardPaths>
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

// A command line the player cannot follow, said as the command line says it.
int refuse(const app::CommandLine& line)
{
    std::fputs(qPrintable(line.errorText()), stderr);
    return app::CommandLine::kUsageError;
}

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Points Qt and the per-user settings where this run needs them; both must
// be set before the application exists. The empty text, or what failed.
QString setUpEnvironment(const app::CommandLine::Choices& choices, std::optional<QTemporaryDir>& ownSettings)
{
    if (choices.headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietOffscreenWarnings);
    }
    // The per-user settings live in XDG_CONFIG_HOME; it must point where
    // this run keeps them before anything reads them. A headless run not
    // told where keeps them in a folder of its own, removed when it ends,
    // so that scripts never touch the player's real settings.
    if (!choices.settings.isEmpty()) {
        qputenv("XDG_CONFIG_HOME", choices.settings.toLocal8Bit());
    } else if (choices.headless && !qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        ownSettings.emplace(QDir::tempPath() + QStringLiteral("/loomplay-settings-XXXXXX"));
        if (!ownSettings->isValid())
            return QStringLiteral("cannot make a settings folder in %1").arg(QDir::tempPath());
        qputenv("XDG_CONFIG_HOME", ownSettings->path().toLocal8Bit());
    }
    return {};
}

// Where the player's screenshots go: the desktop's pictures folder; a run
// with a settings folder of its own keeps them there instead, so that
// scripts and tests never write among the player's pictures.
QString screenshotFolder(const app::CommandLine::Choices& choices)
{
    if (!choices.settings.isEmpty() || choices.headless)
        return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("loomplay/Screenshots"));
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QString() : QDir(pictures).filePath(QStringLiteral("loomplay"));
}

// The player's own data folder: XDG_DATA_HOME's (~/.local/share by default).
// A run with a settings folder of its own keeps its data there too unless
// XDG_DATA_HOME names a folder, so that scripts never write among the
// player's files.
QString playerDataFolder(const app::CommandLine::Choices& choices)
{
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME") && (!choices.settings.isEmpty() || choices.headless))
        return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("loomplay"));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("loomplay"));
}

// The demo game installed with the program, where the install put it beside
// the program's folder (LOOM_INSTALLED_DEMO, relative to it), or the
// repository's demo for a program built in the source tree's build folder;
// empty when there is none.
QString installedDemo()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& relative : {QStringLiteral(LOOM_INSTALLED_DEMO), QStringLiteral("../demo")}) {
        const QString folder = QDir::cleanPath(program.filePath(relative));
        if (app::WhyNotAGame(folder).isEmpty())
            return folder;
    }
    return QString();
}

// The game a person chooses from the games played before, from a folder or
// the demo; nothing when they close the chooser.
std::optional<QString> chooseGame(const base::CodePage& codePage)
{
    app::RecentGames games;
    platform::QtDialogs dialogs;
    app::GameChooser chooser(games, dialogs, codePage, installedDemo());
    return chooser.exec();
}

// Plays one game from its welcome window until that window closes, which
// ends the game's windows; the exit status. running points at the game's
// runtime while it exists, for a termination signal to end it; after says
// what the player asked to come next.
int playGame(const run::RuntimeOptions& options, const app::CommandLine::Choices& choices, const automation::ScriptRunner::LineSource& lines,
             double dpi, app::Runtime*& running, app::Runtime::AfterEnd& after)
{
    app::Runtime rt(options);
    running = &rt;
    // Gone before the runtime is: a signal during its tear-down finds none.
    const std::unique_ptr<app::Runtime*, void (*)(app::Runtime**)> forgetRuntime(&running, [](app::Runtime** r) { *r = nullptr; });
    rt.display.setLogicalDpi(dpi);
    rt.notices.setVerbose(choices.verbose);
    rt.log.setSink([](const QJsonObject& entry) {
        std::fputs(QJsonDocument(entry).toJson(QJsonDocument::Compact).constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    rt.onEnded = [] { QCoreApplication::quit(); };
    std::unique_ptr<authoring::Recorder> recorder;
    const QString& recording = choices.record;
    if (!recording.isEmpty()) {
        recorder = std::make_unique<authoring::Recorder>(rt, recording,
                                                         choices.expectEnd ? authoring::Recorder::Ending::Expectations : authoring::Recorder::Ending::StateLine);
        if (!recorder->isOpen())
            return fail(QCoreApplication::translate("main", "cannot write the recording %1: %2").arg(recording, recorder->errorString()));
    }

    // An author's edits to the frame on screen show at once, and the Debug
    // menu shows the game's state beside it.
    std::unique_ptr<authoring::LiveReload> reload;
    std::unique_ptr<authoring::StateWindow> state;
    if (options.debug) {
        reload = std::make_unique<authoring::LiveReload>(rt);
        state = std::make_unique<authoring::StateWindow>(rt);
    }

    // Answers at the top of a script are for the questions of the start-up.
    automation::ScriptRunner runner(rt, choices.shots);
    runner.setStopOnFail(choices.stopOnFail);
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
        return fail(QCoreApplication::translate("main", "cannot write the recording %1: %2").arg(recording, recorder->errorString()));
    after = rt.afterEnd();
    return status;
}

// Checks the game named, or the one in the program's own folder; the exit
// status.
int checkGame(const app::CommandLine::Choices& choices)
{
    const QString& folder = choices.options.projectDir;
    return authoring::RunCheck(
        {folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder, choices.options.codePage, choices.json, choices.map, choices.options.mountTable});
}

// Plays the game's test scripts with this program; the exit status. The
// options that shape a run are passed on to each one.
int testGame(const app::CommandLine& line)
{
    const app::CommandLine::Choices& choices = line.choices();
    QStringList passed;
    for (const char* name : {"codepage", "screen", "dpi", "start-time"}) {
        if (line.isSet(QLatin1String(name)))
            passed << QStringLiteral("--") + QLatin1String(name) << line.value(QLatin1String(name));
    }
    // Each run starts in a folder of its own: files go by their full paths.
    for (const char* name : {"mount-table", "soundfont"}) {
        if (line.isSet(QLatin1String(name)))
            passed << QStringLiteral("--") + QLatin1String(name) << QFileInfo(line.value(QLatin1String(name))).absoluteFilePath();
    }
    for (const char* name : {"mute", "stop-on-fail"}) {
        if (line.isSet(QLatin1String(name)))
            passed << QStringLiteral("--") + QLatin1String(name);
    }
    try {
        authoring::TestRunner runner({.gameDir = choices.options.projectDir,
                                      .scripts = choices.testScripts,
                                      .junitFile = choices.junit,
                                      .program = QCoreApplication::applicationFilePath(),
                                      .playerOptions = passed});
        return runner.run(stdout, stderr);
    } catch (const base::Failure& e) {
        return fail(QString::fromUtf8(e.what()));
    }
}

// Plays the game named, or the game of the program's own folder (a headless
// run, which never asks, plays whatever is there); where that holds none,
// as when started from the desktop's menu, asks which game to play, and
// asks again whenever a game's welcome window closes. The exit status.
int playOrChoose(const app::CommandLine& line, const platform::TerminationSignals& termination, app::Runtime*& running)
{
    const app::CommandLine::Choices& choices = line.choices();
    run::RuntimeOptions options = choices.options;
    options.screenshotFolder = screenshotFolder(choices);
    options.playerDataFolder = playerDataFolder(choices);
    bool choosing = options.projectDir.isEmpty() && !choices.headless && !app::WhyNotAGame(QCoreApplication::applicationDirPath()).isEmpty();
    if (options.projectDir.isEmpty() && !choosing) {
        options.projectDir = QCoreApplication::applicationDirPath();
    } else if (!choosing && !choices.headless) {
        // A game started from the command line is one played before, too.
        try {
            app::RecentGames().add(options.projectDir, app::ReadGameName(options.projectDir, base::CodePage(options.codePage)));
        } catch (const base::Failure& e) {
            std::fprintf(stderr, "loomplay: %s\n", e.what());
        }
    }
    // What the command line leaves open, the real screen tells.
    QScreen* screen = QGuiApplication::primaryScreen();
    if (choices.screen)
        options.screen = *choices.screen;
    else if (screen)
        options.screen = screen->size();
    const double dpi = choices.dpi ? *choices.dpi : screen ? screen->logicalDotsPerInch() : 96;

    QTextStream script;
    if (choices.script) {
        script.setDevice(choices.script.get());
        script.setEncoding(QStringConverter::Utf8);
    }
    const automation::ScriptRunner::LineSource lines = automation::ScriptRunner::linesOf(script);
    for (;;) {
        if (choosing) {
            const std::optional<QString> chosen = chooseGame(base::CodePage(options.codePage));
            if (!chosen)
                return 0;
            options.projectDir = *chosen;
        }
        // The player's options for this game, where the command line left
        // them open.
        run::RuntimeOptions played = options;
        app::PlayerOptions::forGame(platform::SettingsStore(), played.projectDir).applyTo(played, [&line](const QString& option) {
            return line.isSet(option);
        });
        app::Runtime::AfterEnd after = app::Runtime::AfterEnd::AsStarted;
        const int status = playGame(played, choices, lines, dpi, running, after);
        // The player's menu leads back to the chooser even from a game the
        // command line named; a headless run has no chooser to show.
        if (after == app::Runtime::AfterEnd::ChooseAGame && !choices.headless)
            choosing = true;
        if (!choosing || after == app::Runtime::AfterEnd::Quit || status != 0 || termination.received())
            return status;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    // The program's own words in the player's language; a scripted run, a
    // check and a test run, whose output programs read, keep them as written.
    const QStringList arguments = argumentsOf(argc, argv);
    const bool forPrograms = arguments.contains(QStringLiteral("--headless")) || arguments.contains(QStringLiteral("--check"))
                             || arguments.contains(QStringLiteral("--test"));
    app::Translations words = forPrograms ? app::Translations() : app::Translations(QLocale::system());
    // The command line is read and checked before anything needs a display,
    // so that a mistake, --help or --version work anywhere.
    app::CommandLine line(&words);
    if (!line.parse(arguments))
        return refuse(line);
    if (line.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(line.help()), stdout);
        return 0;
    }
    if (line.isSet(QStringLiteral("version"))) {
        std::printf("loomplay %s\n", LOOM_VERSION);
        return 0;
    }
    if (!line.validate())
        return refuse(line);
    const app::CommandLine::Choices& choices = line.choices();

    std::optional<QTemporaryDir> ownSettings;
    if (const QString error = setUpEnvironment(choices, ownSettings); !error.isEmpty())
        return fail(error);
    // Without a display Qt would abort in its own words.
    std::optional<app::DisplayCheck> display;
    if (!choices.headless) {
        if (const QString missing = app::DisplayCheck::missing(); !missing.isEmpty())
            return fail(missing);
        display.emplace();
    }
    QApplication application(argc, argv);
    display.reset();
    words.install();
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
    // A check runs no event loop: a signal is only noted.
    if (choices.checking)
        return checkGame(choices);
    if (choices.testing) {
        const int status = testGame(line);
        return termination.received() ? platform::TerminationSignals::exitStatusFor(termination.received()) : status;
    }
    const int status = playOrChoose(line, termination, running);
    return termination.received() ? platform::TerminationSignals::exitStatusFor(termination.received()) : status;
}
