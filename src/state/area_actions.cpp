#include "state/area_actions.h"

#include "app/media_names.h"
#include "app/runtime.h"
#include "engine/game.h"
#include "platform/failure.h"
#include "platform/units.h"

#include <QDir>

#include <optional>

namespace state {

bool AreaActions::nonZero(const formats::FieldValue& value)
{
    if (value.isString()) {
        const QString t = value.text.trimmed();
        if (t.isEmpty())
            return false;
        const double n = formats::QuotedFieldReader::fieldNumber(t);
        if (n == 0 && t != QLatin1String("0") && !t.startsWith(QLatin1String("0.")) && t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) != 0)
            throw platform::Failure(QStringLiteral("Type mismatch: '%1'").arg(t.left(40)));
        return n != 0;
    }
    return value.number != 0;
}

bool AreaActions::isTrue(const formats::FieldValue& value)
{
    return value.toNumber() == -1;
}

std::int16_t AreaActions::MakeAction(std::int16_t A, std::int16_t O)
{
    engine::Game& game = m_game;
    media::Media& media = m_rt.media;
    const app::Project& p = m_rt.project;
    std::int16_t result = 0;
    try {
        // 1
        game.StopVideoRequested = true;
        const bool mp3WasPlaying = media.IsMP3Playing();
        const bool midiWasPlaying = media.MidiStatus() == QLatin1String("playing");
        bool repeatMidi = true;
        // 2
        const QString folder = p.AreasPath + m_rt.frame.CurrentFrameName + QDir::separator();
        QString objectName;
        QString record;
        if (O == 0) {
            record = folder + QString::number(A) + QStringLiteral("b.dat");
        } else {
            objectName = game.PickedObjectTag(O);
            record = folder + QString::number(A) + u'_' + objectName + QStringLiteral(".drg");
        }
        if (!m_rt.files.fileExists(record))
            return 0;
        auto r = m_rt.openReader(record);
        // 3
        const std::int16_t f1 = r.readInt16();
        const QString f2 = r.readString();
        const formats::FieldValue f3 = r.readAny();
        const formats::FieldValue f4 = r.readAny();
        const formats::FieldValue f5 = r.readAny();
        if (!f2.isEmpty() && f1 != 0) {
            if (nonZero(f3))
                game.ChangeVariableValue(f2, 0);
            if (nonZero(f4))
                game.ChangeVariableValue(f2, 1);
            if (nonZero(f5))
                game.ChangeVariableValue(f2, -1);
        }
        // 4
        const formats::FieldValue f6 = r.readAny();
        const formats::FieldValue f7 = r.readAny();
        const std::int16_t f8 = r.readInt16();
        const QString f9 = r.readString();
        const formats::FieldValue f10 = r.readAny();
        if (nonZero(f10)) {
            if (O != 0)
                game.RemovePickedObject(O);
            else
                game.Disappear.Add(m_rt.frame.CurrentFrameName, A);
        }
        // 5
        if (nonZero(r.readAny()))
            return 1;
        // 6
        const std::int16_t f12 = r.readInt16();
        const QString f13 = r.readString();
        std::int16_t f14 = 0, f15 = 0, f16 = 0, f20 = 0, f21 = 0, f22 = 0, f23 = 0;
        QString f17;
        bool inRect = false;
        formats::FieldValue f24, f25, f26, f27, f28, f32, f36;
        if (!r.atEnd()) {
            // 7
            f14 = r.readInt16();
            if (f14 != 0 && midiWasPlaying)
                media.StopMIDIMusic();
            f15 = r.readInt16();
            if (f15 != 0) {
                media.ReleaseWaveMix();
                media.SoundMediaClose();
            }
            f16 = r.readInt16();
            f17 = r.readString();
            r.readAny();
            inRect = isTrue(r.readAny());
            f20 = r.readInt16();
            f21 = r.readInt16();
            f22 = r.readInt16();
            f23 = r.readInt16();
            // 8
            if (!r.atEnd()) {
                f24 = r.readAny();
                f25 = r.readAny();
                f26 = r.readAny();
                f27 = r.readAny();
                f28 = r.readAny();
                if (!r.atEnd()) {
                    r.skip();
                    r.skip();
                    r.skip();
                    f32 = r.readAny();
                    if (!r.atEnd()) {
                        r.skip();
                        r.skip();
                        r.skip();
                        f36 = r.readAny();
                        // 9
                        if (!r.atEnd()) {
                            r.skip();
                            r.skip();
                            r.skip();
                            const std::int16_t f40 = r.readInt16();
                            for (std::int16_t k = 1; k <= 3; ++k) {
                                const double n = r.readAny().toNumber();
                                for (double j = 0; j < n; ++j) {
                                    const QString name = r.readString();
                                    if (!name.isEmpty() && f40 != 0)
                                        game.ChangeVariableValue(name, k == 1 ? 0 : k == 2 ? 1 : -1);
                                }
                            }
                            // 10
                            if (!r.atEnd())
                                repeatMidi = r.readBoolean();
                        }
                    }
                }
            }
        }
        // 12
        if ((nonZero(f24) || !mp3WasPlaying) && f15 == 0) {
            if (f8 != 0 && m_rt.files.fileExists(p.AreasPath + f9)) {
                media.ReleaseWaveMix();
                media.SoundMediaOpenWave(p.AreasPath + f9);
                media.SoundMediaPlay();
            } else {
                const QString channels = O == 0 ? QString::number(A) + QStringLiteral("d.dat")
                                                : QString::number(A) + u'_' + objectName + QStringLiteral(".chn");
                media.PlaySoundChannels(folder + channels);
            }
        }
        // 13
        platform::Element* cutScene = game.element(QStringLiteral("CutSceneArea"));
        if (f16 != 0) {
            game.HideMenus();
            cutScene->setShown(false);
            const QString video = app::MapMediaFileName(m_rt, p.FramesPath + f17);
            if (inRect) {
                cutScene->setGeometryTwips(platform::twips16(f20), platform::twips16(f21), platform::twips16(f22), platform::twips16(f23));
                cutScene->setShown(true);
                cutScene->bringToFront();
                game.PlayMovieWithStop(video, QStringLiteral("CutSceneArea"));
            } else {
                game.PlayMovieWithStop(video, QStringLiteral("PictureBox"));
            }
        }
        // 14
        m_rt.clock().doEvents();
        // 15
        if (nonZero(f25) && !f26.toText().isEmpty() && (!midiWasPlaying || f14 != 0))
            media.PlayMIDImusic(app::MapMediaFileName(m_rt, p.FramesPath + f26.toText()), repeatMidi);
        // 16
        if (nonZero(f27)) {
            media.ReleaseWaveMix();
            media.StopMP3();
            media.MP3Duration = 60;
            media.MP3StartTime = m_rt.clock().now();
            game.MP3Timer.setTag(app::MapMediaFileName(m_rt, p.FramesPath + f28.toText()));
            game.MP3Timer.setEnabled(true);
        } else if (nonZero(f24) && f15 == 0) {
            game.MP3Timer.setEnabled(false);
            media.StopMP3();
        }
        // 17
        if (nonZero(f6))
            game.ShowTextMessage(f7.toText(), isTrue(f36));
        // 18
        if (f16 != 0 && (inRect || (f12 == 0 && !nonZero(f32)))) {
            auto videoRunning = [&] {
                const QString status = media.VideoStatus().toLower();
                return status != QLatin1String("stopped") && !status.isEmpty();
            };
            while (videoRunning() && !game.StopVideoRequested) {
                m_rt.clock().waitForEvents();
                game.HideMenus();
                m_rt.clock().doEvents();
            }
            game.StopVideoRequested = false;
        }
        // 19
        if (f12 != 0) {
            game.OpenFrame(f13);
            result = 2;
        } else if (nonZero(f32) && game.FramesHistory().size() >= 2) {
            // 20
            game.GoBack();
            result = 2;
        }
    } catch (const platform::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to make the action associated with the selected area."));
    }
    return result;
}

} // namespace state
