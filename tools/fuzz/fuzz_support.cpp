#include "fuzz_support.h"

#include "app/frm_welcome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QApplication>
#include <QTemporaryDir>

namespace fuzz {

void StartQt()
{
    // The application lives as long as the process: destroyed at exit it
    // would tear down windows after the statics they rely on are gone.
    static QApplication* application = nullptr;
    if (application)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
}

QString ScratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/loomplay-fuzz-XXXXXX"));
    return dir.path();
}

QString DemoCopy()
{
    static const QString copy = [] {
        const QString to = ScratchFolder() + QStringLiteral("/demo");
        const QDir from(QStringLiteral(LOOM_DEMO_DIR));
        QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = to + QLatin1Char('/') + from.relativeFilePath(file);
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(file, target);
        }
        return to;
    }();
    return copy;
}

std::unique_ptr<app::Runtime> DemoPlayer()
{
    run::RuntimeOptions options;
    options.projectDir = DemoCopy();
    options.scripted = true;
    options.screen = QSize(1024, 768);
    options.startTime = QDateTime(QDate(2026, 1, 1), QTime(10, 0));
    auto rt = std::make_unique<app::Runtime>(options);
    rt->frmWelcome().show();
    return rt;
}

} // namespace fuzz
