#include "saves/saved_game.h"

#include "formats/quoted_field_writer.h"
#include "run/context.h"
#include "run/save_folders.h"

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

bool ListedBefore(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

std::vector<QString> SaveNames(run::Context& rt)
{
    // One name once, the first folder's file winning, in the order of names
    // a folder's listing has, then by file date, oldest first.
    std::vector<std::pair<QString, qint64>> found;
    QStringList earlier;
    for (const QString& folder : run::SaveFolders(rt).readFolders()) {
        QStringList here;
        for (const QString& file : rt.files.listFiles(folder, QStringLiteral(".sav"))) {
            const QString name = file.left(file.size() - 4);
            // Names are matched as the files are found: without regard to case.
            if (file.size() <= 4 || earlier.contains(name, Qt::CaseInsensitive))
                continue;
            const auto path = rt.files.resolve(folder + file);
            if (!path)
                continue;
            here << name;
            // File dates count whole seconds: saves made within one second
            // keep their order by name.
            found.emplace_back(name, QFileInfo(QString::fromStdString(path->string())).lastModified().toSecsSinceEpoch());
        }
        earlier << here;
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return ListedBefore(a.first, b.first); });
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    std::vector<QString> names;
    for (const auto& f : found)
        names.push_back(f.first);
    return names;
}

void LoadSaveGames(run::Context& rt, QListWidget& list)
{
    list.clear();
    for (const QString& name : SaveNames(rt))
        list.addItem(name);
}

} // namespace saves
