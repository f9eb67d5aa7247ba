#include "backend/sound_stream.h"

#include "base/failure.h"

#include <algorithm>
#include <cstring>

namespace backend {

namespace {

// Decoding goes on in steps of at least this much, not a few bytes at a time.
constexpr qsizetype StepBytes = 4096;

} // namespace

SoundStream::SoundStream(devices::AudioSource source, int repeats)
    : m_source(std::move(source)), m_repeatsLeft(repeats), m_ring(std::size_t(AheadBytes))
{
}

SoundStream::~SoundStream() = default;

void SoundStream::fill()
{
    while (true) {
        qsizetype room = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_over)
                return;
            room = AheadBytes - m_waiting;
        }
        if (room < StepBytes)
            return;
        qsizetype got = 0;
        try {
            if (!m_decoder)
                m_decoder = std::make_unique<AudioDecoder>(m_source);
            m_decoded.resize(std::size_t(room));
            got = m_decoder->read(m_decoded.data(), room);
        } catch (const base::Failure&) {
            // A source that decoded when it was first read and no longer
            // does ends here, as its end would.
            m_repeatsLeft = 0;
        }
        if (got == 0) {
            m_decoder.reset();
            // A pass that gave no sound would give none again.
            const bool again = m_passGaveSound && m_repeatsLeft != 0;
            m_passGaveSound = false;
            if (m_repeatsLeft > 0)
                --m_repeatsLeft;
            if (!again) {
                std::lock_guard lock(m_mutex);
                m_over = true;
                return;
            }
            continue;
        }
        m_passGaveSound = true;
        std::lock_guard lock(m_mutex);
        const qsizetype size = qsizetype(m_ring.size());
        const qsizetype tail = (m_head + m_waiting) % size;
        const qsizetype first = std::min(got, size - tail);
        std::memcpy(m_ring.data() + tail, m_decoded.data(), std::size_t(first));
        std::memcpy(m_ring.data(), m_decoded.data() + first, std::size_t(got - first));
        m_waiting += got;
    }
}

bool SoundStream::wantsMore() const
{
    std::lock_guard lock(m_mutex);
    return !m_over && m_waiting < AheadBytes / 2;
}

qsizetype SoundStream::take(char* out, qsizetype size)
{
    std::lock_guard lock(m_mutex);
    if (m_paused)
        return 0;
    const qsizetype given = std::min(size - size % AudioDecoder::BytesPerFrame, m_waiting);
    const qsizetype ringSize = qsizetype(m_ring.size());
    const qsizetype first = std::min(given, ringSize - m_head);
    std::memcpy(out, m_ring.data() + m_head, std::size_t(first));
    std::memcpy(out + first, m_ring.data(), std::size_t(given - first));
    m_head = (m_head + given) % ringSize;
    m_waiting -= given;
    return given;
}

void SoundStream::setPaused(bool paused)
{
    std::lock_guard lock(m_mutex);
    m_paused = paused;
}

bool SoundStream::ended() const
{
    std::lock_guard lock(m_mutex);
    return m_over && m_waiting == 0;
}

} // namespace backend
