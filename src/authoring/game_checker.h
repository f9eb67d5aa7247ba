#pragma once

#include "authoring/finding.h"
#include "authoring/frame_graph.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace run {
class Context;
}
namespace formats {
class QuotedFieldReader;
}
namespace devices {
class AudioDevice;
class MediaModule;
}

namespace authoring {

// Reads every file of a game folder the way the player reads it, with the
// player's own readers, media-name mapping and decoders, and tells what the
// player would trip over (errors) or let pass silently though an author
// rarely means it (warnings). Opens no window and plays nothing.
class GameChecker {
public:
    // A mount table in the form of /proc/mounts gives the drive letters of
    // a CD game; none: this system's.
    explicit GameChecker(const QString& gameDir, const QString& codePage = QStringLiteral("windows-1252"),
                         const std::optional<QString>& mountTable = std::nullopt);
    ~GameChecker();
    GameChecker(const GameChecker&) = delete;
    GameChecker& operator=(const GameChecker&) = delete;

    // A game folder is one with the settings file Config/General.
    static bool IsGameFolder(const QString& dir);

    // Checks the whole game; the findings come in the order of the files.
    std::vector<Finding> check();
    // The frames and their links, known after check().
    const FrameGraph& graph() const { return m_graph; }
    // The game's name from its settings, known after check().
    QString gameName() const;
    // One line on what check() found and read, after the name given:
    // "demo: 0 errors, 0 warnings; 6 frames, 21 areas, 4 objects".
    QString summary(const QString& name) const;

private:
    enum class Media { Picture, Cursor, Sound, Midi, Mp3, Video };
    using ReadStep = std::function<void(formats::QuotedFieldReader&)>;

    // A game that runs from CD reads its frames, areas and icons from the
    // drive RunFromCD.dat names: the check reads them there when the drive
    // holds them, and says what is missing when it does not.
    void checkCDFolders();
    void checkSettings();
    // The pictures the welcome window's scheme names.
    void checkScheme(const QString& folder);
    void checkInterfaceStrings();
    void checkVariables();
    void checkFrame(const QString& frame);
    void checkArea(const QString& frame, int index, int count);
    // A pick record; the speed it gives counts only for an animated area.
    void checkPickRecord(const QString& path, bool animated);
    void checkActionRecord(const QString& frame, const QString& path, const QString& label, FrameGraph::Link::Kind kind);
    void checkChannelFile(const QString& path);
    void checkTextFile(const QString& path);
    void checkObjects();
    void checkReachability();

    // Reads a data file with the step; a failure of the reader becomes a
    // finding at the field where it happened. False when the file is
    // missing (nothing is said) or a field failed.
    bool readFile(const QString& path, const ReadStep& step);
    void checkMedia(Media kind, const QString& path, const QString& file, const QString& where, const QString& what);
    void checkFrameLink(const QString& from, const QString& target, const QString& file, const QString& where,
                        const QString& how, FrameGraph::Link::Kind kind, const QString& label);
    void checkVariableName(const QString& name, const QString& file, const QString& where);
    void checkObjectName(const QString& name, const QString& file, const QString& where, const QString& how);

    void error(const QString& file, const QString& where, const QString& message);
    void warning(const QString& file, const QString& where, const QString& message);
    // The path as the author knows it: relative to the game folder, with
    // the real letter case of the parts that exist and '/' between folders.
    QString relative(const QString& path) const;
    QString areaFolder(const QString& frame) const;
    // The frame's name as its file spells it, or "" when it has no file.
    QString frameNamed(const QString& name) const;
    QString frameList() const;
    QString objectList() const;

    std::unique_ptr<run::Context> m_rt;
    std::unique_ptr<devices::MediaModule> m_module;
    std::unique_ptr<devices::AudioDevice> m_audio;
    QString m_dir;
    std::vector<Finding> m_findings;
    FrameGraph m_graph;
    QSet<QString> m_variables;
    bool m_variablesKnown = false;
    QStringList m_objects;
    // The areas whose record was found.
    int m_areas = 0;
    // Media already decoded, by resolved file and kind: their failure text
    // ("" when they decode).
    QHash<QString, QString> m_decoded;
};

} // namespace authoring
