#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "authoring/check_command.h"
#include "authoring/recorder.h"
#include "automation/script_runner.h"
#include "formats/code_page.h"
#include "platform/failure.h"

#include <QApplication>
#include <QCommandLineParser>
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
    return 2;
}

// The value of --settings (or --settings=DIR), read before the application
// exists; empty when not given.
QByteArray settingsOption(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--settings" && i + 1 < argc)
            return argv[i + 1];
        if (arg.startsWith("--settings="))
            return arg.mid(11);
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    // Headless runs must choose Qt's platform before the application exists.
    bool headless = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--headless" || QByteArray(argv[i]) == "--check")
            headless = true;
    }
    if (headless) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietOffscreenWarnings);
    }
    // The per-user settings live in XDG_CONFIG_HOME; it must point where
    // this run keeps them before anything reads them. A headless run not
    // told where keeps them in a folder of its own, removed when it ends,
    // so that scripts never touch the player's real settings.
    std::optional<QTemporaryDir> ownSettings;
    if (const QByteArray dir = settingsOption(argc, argv); !dir.isEmpty()) {
        qputenv("XDG_CONFIG_HOME", dir);
    } else if (headless && !qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        ownSettings.emplace(QDir::tempPath() + QStringLiteral("/loomplay-settings-XXXXXX"));
        if (!ownSettings->isValid())
            return fail(QStringLiteral("cannot make a settings folder in %1").arg(QDir::tempPath()));
        qputenv("XDG_CONFIG_HOME", ownSettings->path().toLocal8Bit());
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("loomplay"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays point-and-click adventure games made with Storyloom."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("PROJECT_DIR"), QStringLiteral("The game folder (default: the folder of the program)."));
    const QCommandLineOption headlessOption(QStringLiteral("headless"), QStringLiteral("Play a script without a screen; print JSON lines."));
    const QCommandLineOption scriptOption(QStringLiteral("script"), QStringLiteral("The script to play."), QStringLiteral("FILE"));
    const QCommandLineOption shotsOption(QStringLiteral("shots"), QStringLiteral("Folder for the screenshots of 'shot' lines."), QStringLiteral("DIR"));
    const QCommandLineOption screenOption(QStringLiteral("screen"), QStringLiteral("The screen size a headless run pretends to have."), QStringLiteral("WxH"), QStringLiteral("1024x768"));
    const QCommandLineOption startOption(QStringLiteral("start-time"), QStringLiteral("Where the virtual clock starts."), QStringLiteral("YYYY-MM-DDTHH:MM:SS"));
    const QCommandLineOption codePageOption(QStringLiteral("codepage"), QStringLiteral("The game's code page (default windows-1252)."), QStringLiteral("NAME"), QStringLiteral("windows-1252"));
    const QCommandLineOption debugOption(QStringLiteral("debug"), QStringLiteral("Offer the Debug menu of frames in the game window."));
    const QCommandLineOption settingsDirOption(QStringLiteral("settings"), QStringLiteral("Keep the per-user settings in this folder (a headless run otherwise uses a temporary one)."), QStringLiteral("DIR"));
    const QCommandLineOption dpiOption(QStringLiteral("dpi"), QStringLiteral("The logical DPI a headless run pretends its desktop has (above 96: large fonts)."), QStringLiteral("N"), QStringLiteral("96"));
    const QCommandLineOption soundFontOption(QStringLiteral("soundfont"), QStringLiteral("The General MIDI soundfont for MIDI music (default: Debian's timgm6mb-soundfont)."), QStringLiteral("FILE"));
    const QCommandLineOption mountsOption(QStringLiteral("mount-table"), QStringLiteral("A mount table (as /proc/mounts) to take drive letters from."), QStringLiteral("FILE"));
    const QCommandLineOption checkOption(QStringLiteral("check"), QStringLiteral("Check the game for authors: print what is wrong, open no window."));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("With --check: print the findings as JSON lines."));
    const QCommandLineOption mapOption(QStringLiteral("map"), QStringLiteral("With --check: draw the frames as a graph (.svg or .dot)."), QStringLiteral("FILE"));
    const QCommandLineOption recordOption(QStringLiteral("record"), QStringLiteral("Write the player's input as a script."), QStringLiteral("FILE"));
    parser.addOptions({headlessOption, scriptOption, shotsOption, screenOption, startOption, codePageOption, debugOption, settingsDirOption, dpiOption, soundFontOption, mountsOption,
                       checkOption, jsonOption, mapOption, recordOption});
    parser.process(application);
    if (parser.isSet(checkOption)) {
        const QStringList games = parser.positionalArguments();
        return authoring::RunCheck({games.isEmpty() ? QCoreApplication::applicationDirPath() : games.first(), parser.value(codePageOption),
                                    parser.isSet(jsonOption), parser.value(mapOption)});
    }

    app::RuntimeOptions options;
    const QStringList positional = parser.positionalArguments();
    options.projectDir = QDir(positional.isEmpty() ? QCoreApplication::applicationDirPath() : positional.first()).absolutePath();
    if (!QDir(options.projectDir).exists())
        return fail(QStringLiteral("the game folder %1 does not exist").arg(options.projectDir));
    options.scripted = headless;
    options.debug = parser.isSet(debugOption);
    if (parser.isSet(soundFontOption)) {
        options.soundFont = QFileInfo(parser.value(soundFontOption)).absoluteFilePath();
        if (!QFileInfo::exists(options.soundFont))
            return fail(QStringLiteral("the soundfont %1 does not exist").arg(options.soundFont));
    }
    try {
        options.codePage = formats::CodePage::named(parser.value(codePageOption)).name();
    } catch (const platform::Failure& e) {
        return fail(QString::fromStdString(e.what()));
    }
    if (headless || parser.isSet(screenOption)) {
        const QStringList size = parser.value(screenOption).split(u'x');
        bool okW = false, okH = false;
        const int w = size.value(0).toInt(&okW);
        const int h = size.value(1).toInt(&okH);
        if (size.size() != 2 || !okW || !okH || w <= 0 || h <= 0)
            return fail(QStringLiteral("--screen takes a size such as 1024x768"));
        options.screen = QSize(w, h);
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        options.screen = screen->size();
    }
    if (parser.isSet(startOption)) {
        options.startTime = QDateTime::fromString(parser.value(startOption), Qt::ISODate);
        if (!options.startTime.isValid())
            return fail(QStringLiteral("--start-time takes a time such as 2026-01-31T09:30:00"));
    }

    if (parser.isSet(mountsOption)) {
        QFile table(parser.value(mountsOption));
        if (!table.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read the mount table %1").arg(table.fileName()));
        options.mountTable = QString::fromLocal8Bit(table.readAll());
    }

    // The script is read as it plays, never held whole.
    QFile scriptFile;
    QTextStream script;
    if (headless) {
        if (!parser.isSet(scriptOption))
            return fail(QStringLiteral("--headless needs --script FILE"));
        scriptFile.setFileName(parser.value(scriptOption));
        if (!scriptFile.open(QIODevice::ReadOnly | QIODevice::Text))
            return fail(QStringLiteral("cannot read the script %1").arg(scriptFile.fileName()));
        script.setDevice(&scriptFile);
        script.setEncoding(QStringConverter::Utf8);
    }
    const automation::ScriptRunner::LineSource lines = automation::ScriptRunner::linesOf(script);

    double dpi = 96;
    if (parser.isSet(dpiOption)) {
        bool ok = false;
        dpi = parser.value(dpiOption).toDouble(&ok);
        if (!ok || dpi < 24 || dpi > 960)
            return fail(QStringLiteral("--dpi takes a number of dots per inch such as 96 or 120"));
    } else if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !headless) {
        dpi = screen->logicalDotsPerInch();
    }

    app::Runtime rt(options);
    rt.display.setLogicalDpi(dpi);
    rt.log.setSink([](const QJsonObject& entry) {
        std::fputs(QJsonDocument(entry).toJson(QJsonDocument::Compact).constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    rt.onEnded = [] { QCoreApplication::quit(); };
    std::unique_ptr<authoring::Recorder> recorder;
    if (parser.isSet(recordOption)) {
        recorder = std::make_unique<authoring::Recorder>(rt, parser.value(recordOption));
        if (!recorder->isOpen())
            return fail(QStringLiteral("cannot write the recording %1: %2").arg(parser.value(recordOption), recorder->errorString()));
    }

    // Answers at the top of a script are for the questions of the start-up.
    automation::ScriptRunner runner(rt, parser.value(shotsOption));
    if (headless)
        runner.queueStartUpAnswers(lines);
    app::FrmWelcome& welcome = rt.frmWelcome();
    if (rt.ended())
        return 0;
    welcome.show();

    if (headless)
        return runner.run(lines) ? 0 : 1;
    return QApplication::exec();
}
