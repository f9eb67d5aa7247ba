#include "saves/saved_game.h"

#include "formats/quoted_field_writer.h"
#include "run/context.h"

#include <QDateTime>
#include <QFileInfo>
#include <QListWidget>

namespace saves {

QByteArray SavedGame::bytes(const base::CodePage& codePage) const
{
    formats::QuotedFieldWriter w(codePage);
    w.line(frame);
    w.number(static_cast<double>(variables.size())).endRecord();
    for (const state::ClassVariable& v : variables) {
        w.line(v.Name);
        w.number(v.Value).endRecord();
    }
    w.number(static_cast<double>(disappear.size())).endRecord();
    for (const state::ClassVariable& v : disappear) {
        w.line(v.Name);
        w.number(v.Value).endRecord();
    }
    w.number(objects.size()).endRecord();
    for (const QString& o : objects)
        w.line(o);
    w.number(history.size()).endRecord();
    for (const QString& h : history)
        w.line(h);
    for (int i = 0; i < 3; ++i)
        w.line(QString());
    w.line(projectKey);
    w.line(gameName);
    w.line(date.toString(QStringLiteral("MM/dd/yyyy")));
    w.line(QString::fromLatin1(kVersion));
    return w.bytes();
}

bool HasForbiddenCharacter(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|,");
    for (QChar c : name) {
        if (forbidden.contains(c))
            return true;
    }
    return false;
}

bool UnfitForFileName(const QString& name, const base::CodePage& codePage)
{
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return codePage.encode(name).contains('\0');
}

void LoadSaveGames(run::Context& rt, QListWidget& list)
{
    list.clear();
    const QString folder = rt.project.ProjectPath;
    std::vector<std::pair<QString, qint64>> saves;
    for (const QString& file : rt.files.listFiles(folder, QStringLiteral(".sav"))) {
        if (file.size() <= 4)
            continue;
        const auto path = rt.files.resolve(folder + file);
        if (!path)
            continue;
        // File dates count whole seconds: saves made within one second keep
        // their order by name.
        const qint64 when = QFileInfo(QString::fromStdString(path->string())).lastModified().toSecsSinceEpoch();
        const QString name = file.left(file.size() - 4);
        auto at = std::find_if(saves.begin(), saves.end(), [&](const auto& s) { return s.second > when; });
        saves.insert(at, {name, when});
    }
    for (const auto& s : saves)
        list.addItem(s.first);
}

} // namespace saves
