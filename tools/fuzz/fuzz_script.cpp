// The scripted-play reader: lines of the script language against a player
// on the demo. Waits are kept short so that an input is a moment of play.
#include "automation/script_runner.h"
#include "fuzz_support.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::StartQt();
    const auto rt = fuzz::DemoPlayer();
    automation::ScriptRunner runner(*rt, QString());
    static const QRegularExpression longWait(QStringLiteral("^\\s*wait\\s+\\S{6,}"), QRegularExpression::CaseInsensitiveOption);
    QStringList lines;
    for (const QString& line : QString::fromUtf8(fuzz::Bytes(data, size)).split(QLatin1Char('\n')).mid(0, 64)) {
        if (!longWait.match(line).hasMatch())
            lines << line;
    }
    runner.run(lines);
    return 0;
}
