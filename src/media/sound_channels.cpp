#include "media/sound_channels.h"

#include "app/media_names.h"
#include "app/runtime.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "platform/failure.h"

#include <optional>

namespace media {

namespace {

// A channel record's flag holds only when it is the Boolean true: the
// number 1 is not true.
bool isTrue(const formats::FieldValue& value)
{
    return !value.isString() && value.number == -1;
}

} // namespace

SoundChannels::SoundChannels(app::Runtime& rt, Media& media, platform::WaveMixLibrary& library)
    : m_rt(rt), m_media(media), m_library(library)
{
}

SoundChannels::~SoundChannels() = default;

void SoundChannels::EnsureWaveMix()
{
    if (m_mixer)
        return;
    m_media.SoundMedia().mmClose();
    m_media.StopMP3();
    if (!m_media.IsVideoPlaying())
        m_mixer = std::make_unique<WaveMix>(m_rt, m_library, m_initFailed);
}

void SoundChannels::ReleaseWaveMix()
{
    m_mixer.reset();
}

void SoundChannels::PlaySoundChannels(const QString& file)
{
    try {
        // A missing file, or a video playing: nothing happens.
        std::optional<QByteArray> bytes = m_rt.files.tryReadAll(file);
        if (!bytes || m_media.IsVideoPlaying())
            return;
        formats::QuotedFieldReader reader(*bytes, m_rt.codePage);
        for (int k = 0; k < 22; ++k)
            reader.skip();
        const app::Project& p = m_rt.project;
        if (p.SingleSoundMode) {
            // Only the first record counts, and its Stop field is not read.
            reader.skip();
            reader.skip();
            const bool play = isTrue(reader.readAny());
            const QString name = reader.readString();
            reader.readAny();
            if (play && !name.isEmpty()) {
                const QString path = app::MapMediaFileName(m_rt, p.AreasPath + name);
                if (m_rt.files.fileExists(path)) {
                    ReleaseWaveMix();
                    m_media.SoundMedia().mmOpenWave(path);
                    m_media.SoundMedia().mmPlay();
                }
            }
            return;
        }
        // Channels a record leaves alone keep what they play.
        for (std::int32_t c = 0; c <= 7; ++c) {
            reader.skip();
            const bool stop = isTrue(reader.readAny());
            const bool play = isTrue(reader.readAny());
            const QString name = reader.readString();
            const bool loop = reader.readAny().toNumber() != 0;
            if (stop) {
                EnsureWaveMix();
                if (m_mixer) {
                    m_mixer->CurrentChannel = c;
                    m_mixer->Quit();
                }
            }
            if (play && !name.isEmpty()) {
                EnsureWaveMix();
                if (m_mixer) {
                    m_mixer->CurrentChannel = c;
                    m_mixer->setFileName(app::MapMediaFileName(m_rt, p.AreasPath + name));
                    m_mixer->setAutoLoop(loop ? -1 : 0);
                    m_mixer->Play();
                }
            }
            if (reader.atEnd())
                break;
        }
    } catch (const platform::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load sound channels information."));
    }
}

} // namespace media
