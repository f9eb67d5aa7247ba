// Loading a saved game from the load window of a player on the demo.
#include "automation/script_runner.h"
#include "fuzz_support.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::StartQt();
    {
        QFile save(fuzz::DemoCopy() + QStringLiteral("/fuzz.sav"));
        if (!save.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        save.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const auto rt = fuzz::DemoPlayer();
    automation::ScriptRunner runner(*rt, QString());
    runner.run(QStringList{QStringLiteral("click Img(1)"), QStringLiteral("select frmLoadGame.List1 fuzz"),
                           QStringLiteral("click frmLoadGame.Command2"), QStringLiteral("wait 500"), QStringLiteral("dump")});
    return 0;
}
