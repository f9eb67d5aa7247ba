#include "backend/stream_mixer.h"

#include "backend/sound_stream.h"

#include <algorithm>

#include <SDL.h>

namespace backend {

StreamMixer::StreamMixer() = default;

StreamMixer::~StreamMixer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_wake.notify_all();
    }
    if (m_feeder.joinable())
        m_feeder.join();
}

void StreamMixer::add(std::shared_ptr<SoundStream> stream)
{
    std::lock_guard lock(m_mutex);
    m_streams.push_back(std::move(stream));
    // Started with the first stream: a game that streams nothing has no
    // thread for it.
    if (!m_feeder.joinable())
        m_feeder = std::thread(&StreamMixer::feed, this);
    m_wake.notify_all();
}

void StreamMixer::remove(const std::shared_ptr<SoundStream>& stream)
{
    std::shared_ptr<SoundStream> removed;
    std::lock_guard lock(m_mutex);
    const auto at = std::find(m_streams.begin(), m_streams.end(), stream);
    if (at == m_streams.end())
        return;
    // Let go outside the lock when this is its last holder.
    removed = std::move(*at);
    m_streams.erase(at);
}

void StreamMixer::mix(std::uint8_t* out, int size)
{
    std::lock_guard lock(m_mutex);
    if (m_taken.size() < std::size_t(size))
        m_taken.resize(std::size_t(size));
    bool low = false;
    for (const auto& stream : m_streams) {
        const qsizetype taken = stream->take(m_taken.data(), size);
        if (taken > 0)
            SDL_MixAudioFormat(out, reinterpret_cast<const Uint8*>(m_taken.data()), AUDIO_S16SYS, Uint32(taken), stream->volume());
        low = low || stream->wantsMore();
    }
    if (low)
        m_wake.notify_all();
}

void StreamMixer::feed()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] {
            return m_stopping || std::any_of(m_streams.begin(), m_streams.end(), [](const auto& s) { return s->wantsMore(); });
        });
        if (m_stopping)
            return;
        // Decoded outside the lock, so that the output never waits for it;
        // a stream removed meanwhile is let go here, after its last fill.
        std::vector<std::shared_ptr<SoundStream>> streams = m_streams;
        lock.unlock();
        for (const auto& stream : streams)
            stream->fill();
        streams.clear();
        lock.lock();
    }
}

} // namespace backend
