#pragma once

#include "authoring/frame_graph.h"

#include <QString>

namespace authoring {

// The frames of a game drawn as a graph: a box for each frame, an arrow for
// each way from one frame to another (area actions, objects dropped on
// areas, timers, going back), the initial frame marked by an arrow from
// "start", unreachable frames greyed and dashed, broken links in red.
class FrameMap {
public:
    explicit FrameMap(const FrameGraph& graph, const QString& title = QString()) : m_graph(graph), m_title(title) {}

    // The graph in Graphviz's DOT language.
    QString dot() const;
    // Writes the map: DOT text for ".dot" or ".gv", a picture laid out by
    // Graphviz's dot program for ".svg". Throws base::Failure when the
    // name ends otherwise, dot is not installed or fails, or the file
    // cannot be written.
    void write(const QString& file) const;

private:
    const FrameGraph& m_graph;
    QString m_title;
};

} // namespace authoring
