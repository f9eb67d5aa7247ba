#include "media/sound_channels.h"

#include "base/failure.h"
#include "media/channel_record.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "run/context.h"
#include "run/media_names.h"

#include <optional>

namespace media {

SoundChannels::SoundChannels(run::Context& rt, Media& media, devices::WaveMixLibrary& library)
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
        std::optional<QByteArray> bytes = m_rt.files.tryReadAll(file, platform::FileResolver::kRecordFileLimit);
        if (!bytes || m_media.IsVideoPlaying())
            return;
        formats::QuotedFieldReader reader(*bytes, m_rt.codePage);
        const run::Project& p = m_rt.project;
        // Only the first record counts in single-sound mode.
        ReadChannelRecords(reader, p.SingleSoundMode, [&](const ChannelRecord& record) {
            if (p.SingleSoundMode) {
                if (record.play && !record.wave.isEmpty()) {
                    const QString path = run::MapMediaFileName(m_rt, p.AreasPath + record.wave);
                    if (m_rt.files.fileExists(path)) {
                        ReleaseWaveMix();
                        m_media.SoundMedia().mmOpenWave(path);
                        m_media.SoundMedia().mmPlay();
                    }
                }
                return;
            }
            // Channels a record leaves alone keep what they play.
            if (record.stop) {
                EnsureWaveMix();
                if (m_mixer) {
                    m_mixer->CurrentChannel = record.channel;
                    m_mixer->Quit();
                }
            }
            if (record.play && !record.wave.isEmpty()) {
                EnsureWaveMix();
                if (m_mixer) {
                    m_mixer->CurrentChannel = record.channel;
                    m_mixer->setFileName(run::MapMediaFileName(m_rt, p.AreasPath + record.wave));
                    m_mixer->setAutoLoop(record.loop ? -1 : 0);
                    m_mixer->Play();
                }
            }
        });
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load sound channels information."));
    }
}

} // namespace media
