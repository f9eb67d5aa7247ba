#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace authoring {

// The frames of a game and every way from one to another, as the checker
// found them: what the frame map draws.
struct FrameGraph {
    struct Link {
        enum class Kind { Area, Object, Timer, Back };
        QString from;
        // The frame's own name when it exists; as written when it does not.
        QString to;
        Kind kind = Kind::Area;
        // What carries the link: "area 3", "area 2 + Key", "timer".
        QString label;
        bool broken = false;
    };

    QStringList frames;
    // As its file spells it; as the settings write it when it has none.
    QString initialFrame;
    bool initialFrameExists = false;
    std::vector<Link> links;
    QSet<QString> unreachable;
};

} // namespace authoring
