#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace backend {

class SoundStream;

// The sounds the output plays as they are decoded: one feeding thread keeps
// each decoded ahead, waking only when one has run low, and the output's
// thread adds what each has ready to every buffer it mixes.
class StreamMixer {
public:
    StreamMixer();
    ~StreamMixer();
    StreamMixer(const StreamMixer&) = delete;
    StreamMixer& operator=(const StreamMixer&) = delete;

    void add(std::shared_ptr<SoundStream> stream);
    void remove(const std::shared_ptr<SoundStream>& stream);
    // Output's thread: adds each stream's next bytes to a buffer of 16-bit
    // stereo frames.
    void mix(std::uint8_t* out, int size);

private:
    void feed();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::shared_ptr<SoundStream>> m_streams;
    std::vector<char> m_taken;
    bool m_stopping = false;
    std::thread m_feeder;
};

} // namespace backend
