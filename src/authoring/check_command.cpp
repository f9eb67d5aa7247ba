#include "authoring/check_command.h"

#include "authoring/frame_map.h"
#include "authoring/game_checker.h"
#include "base/failure.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace authoring {

int RunCheck(const CheckOptions& options, std::FILE* out, std::FILE* err)
{
    if (!GameChecker::IsGameFolder(options.gameDir)) {
        std::fprintf(err, "loomplay: %s is not a game folder: it has no Config/General\n", qPrintable(options.gameDir));
        return 2;
    }
    GameChecker checker(options.gameDir, options.codePage, options.mountTable);
    const std::vector<Finding> findings = checker.check();
    bool errors = false;
    for (const Finding& finding : findings) {
        errors |= finding.isError();
        const QByteArray line = options.json ? QJsonDocument(finding.json()).toJson(QJsonDocument::Compact) : finding.line().toUtf8();
        std::fputs(line.constData(), out);
        std::fputc('\n', out);
    }
    // Said even of a clean game, so that a silent check is never mistaken
    // for one that read nothing. JSON lines stay findings only.
    if (!options.json)
        std::fprintf(out, "%s\n", qPrintable(checker.summary(QFileInfo(QDir::cleanPath(options.gameDir)).fileName())));
    std::fflush(out);
    if (!options.mapFile.isEmpty()) {
        try {
            FrameMap(checker.graph(), checker.gameName()).write(options.mapFile);
        } catch (const base::Failure& e) {
            std::fprintf(err, "loomplay: %s\n", e.what());
            return 2;
        }
    }
    return errors ? 1 : 0;
}

} // namespace authoring
