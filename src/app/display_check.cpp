#include "app/display_check.h"

#include "app/command_line.h"

#include <QByteArrayList>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace app {

namespace {

const QString kWithoutDisplay = QStringLiteral("; --headless --script FILE plays a game without one");

// The message handler of the time the check watches, and what it holds.
QtMessageHandler g_previousHandler = nullptr;
QList<std::pair<QtMsgType, QString>> g_heldMessages;

QString cannotOpen()
{
    QStringList named;
    for (const char* variable : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            named << QLatin1String(variable) + u'=' + qEnvironmentVariable(variable);
    }
    return QStringLiteral("the display cannot be opened (%1)%2").arg(named.join(QStringLiteral(", ")), kWithoutDisplay);
}

void holdMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "loomplay: %s\n", qPrintable(cannotOpen()));
        std::fflush(stderr);
        // Qt's fatal message comes from inside the making of the
        // application, whose objects cannot be taken down in order.
        std::_Exit(CommandLine::kUsageError);
    }
    g_heldMessages.append({type, message});
}

// Wayland's client library falls back to the socket wayland-0 when
// WAYLAND_DISPLAY is not set.
bool waylandReachable()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("wayland-0")));
}

} // namespace

QString DisplayCheck::missing()
{
    // QT_QPA_PLATFORM lists platforms to try, each with its own options
    // after a colon; without it Qt tries the X and Wayland ones.
    bool x = false;
    bool wayland = false;
    const QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.trimmed().isEmpty()) {
        x = wayland = true;
    } else {
        for (const QByteArray& entry : platforms.split(';')) {
            const QByteArray name = entry.split(':').front().trimmed();
            if (name == "xcb")
                x = true;
            else if (name.startsWith("wayland"))
                wayland = true;
            else
                return {}; // offscreen, vnc, eglfs...: no display needed here
        }
    }
    if ((x && !qEnvironmentVariableIsEmpty("DISPLAY")) || (wayland && waylandReachable()))
        return {};
    QStringList unset;
    if (x)
        unset << QStringLiteral("DISPLAY");
    if (wayland)
        unset << QStringLiteral("WAYLAND_DISPLAY");
    return QStringLiteral("no display to open a window on (%1 %2 not set)%3")
        .arg(unset.join(QStringLiteral(" and ")), unset.size() > 1 ? QStringLiteral("are") : QStringLiteral("is"), kWithoutDisplay);
}

DisplayCheck::DisplayCheck()
{
    g_heldMessages.clear();
    g_previousHandler = qInstallMessageHandler(holdMessages);
}

DisplayCheck::~DisplayCheck()
{
    qInstallMessageHandler(g_previousHandler);
    const QMessageLogContext context;
    for (const auto& [type, message] : std::exchange(g_heldMessages, {}))
        g_previousHandler(type, context, message);
}

} // namespace app
