#pragma once

#include <QString>

#include <memory>

namespace run {
class Context;
}
namespace devices {
class MediaModule;
class Speaker;
}

namespace media {

// Reading aloud, when the player asked for it (RuntimeOptions::speech): each
// text is read in its turn with its blanks and line breaks made single
// spaces; an empty one is not read. A scripted run writes a "speech" line
// for each instead. A real one hands them to the media module's speaker,
// made at the first text: a run without speech makes nothing for it. When
// no speaker can be had it is told once and play goes on without.
class Speech {
public:
    Speech(run::Context& rt, devices::MediaModule& module);
    ~Speech();

    void say(const QString& text);

private:
    run::Context& m_rt;
    devices::MediaModule& m_module;
    bool m_tried = false;
    std::unique_ptr<devices::Speaker> m_speaker;
};

} // namespace media
