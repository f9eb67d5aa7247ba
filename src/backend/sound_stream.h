#pragma once

#include "backend/audio_decoder.h"

#include <QtGlobal>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace backend {

// A sound decoded as it plays: a feeding thread keeps half a second of it
// decoded ahead, and the output's thread takes from that, so that a piece of
// an hour costs what half a second does. Repeats decode the source again
// from its start.
class SoundStream {
public:
    // Half a second of output.
    static constexpr qsizetype AheadBytes = AudioDecoder::OutputRate / 2 * AudioDecoder::BytesPerFrame;

    // Played 1 + repeats times; a negative repeats plays it without end.
    SoundStream(devices::AudioSource source, int repeats);
    ~SoundStream();
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    // Feeding thread: decodes until half a second waits or the sound is over.
    void fill();
    // Less than a quarter of a second waits and more is to come.
    bool wantsMore() const;
    // Output's thread: copies up to size bytes of what waits into out; the
    // bytes given. None while paused; fewer when the decoding falls behind.
    qsizetype take(char* out, qsizetype size);
    void setPaused(bool paused);
    // How loud it is mixed, 0 to the mixer's full volume (SDL_MIX_MAXVOLUME).
    void setVolume(int volume) { m_volume.store(volume, std::memory_order_relaxed); }
    int volume() const { return m_volume.load(std::memory_order_relaxed); }
    // Everything decoded has been taken, and nothing more is to come.
    bool ended() const;

private:
    // Feeding thread only.
    devices::AudioSource m_source;
    int m_repeatsLeft;
    bool m_passGaveSound = false;
    std::unique_ptr<AudioDecoder> m_decoder;
    std::vector<char> m_decoded;

    // Shared with the output's thread.
    mutable std::mutex m_mutex;
    std::vector<char> m_ring;
    qsizetype m_head = 0;
    qsizetype m_waiting = 0;
    bool m_over = false;
    bool m_paused = false;
    std::atomic<int> m_volume{128};
};

} // namespace backend
