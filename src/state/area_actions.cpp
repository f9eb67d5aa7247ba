#include "state/area_actions.h"

#include "base/failure.h"
#include "engine/game.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "run/context.h"
#include "run/media_names.h"
#include "state/action_record.h"

#include <QDir>
#include <QRect>

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
            throw base::Failure(base::Failure::Kind::TypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(t.left(40)), QStringLiteral("number or Boolean"),
                                t.left(40));
        return n != 0;
    }
    return value.number != 0;
}

bool AreaActions::isTrue(const formats::FieldValue& value)
{
    return value.toNumber() == -1;
}

bool AreaActions::applyStep(const ActionStep& step, const ActionRecord& read, std::int16_t A, std::int16_t O, bool midiWasPlaying)
{
    engine::Game& game = m_game;
    media::Media& media = m_game.media();
    switch (step.kind) {
    case ActionStep::Variable:
        if (!read.variable.isEmpty() && read.variableSwitch != 0) {
            // Independent tests: all three set ends at 0 (0, 1, toggled).
            if (nonZero(read.setToZero))
                game.ChangeVariableValue(read.variable, 0);
            if (nonZero(read.setToOne))
                game.ChangeVariableValue(read.variable, 1);
            if (nonZero(read.toggle))
                game.ChangeVariableValue(read.variable, -1);
        }
        break;
    case ActionStep::Removal:
        if (nonZero(read.remove)) {
            if (O != 0)
                game.RemovePickedObject(O);
            else
                game.Disappear.Add(m_rt.frame.CurrentFrameName, A);
        }
        break;
    case ActionStep::EndGame:
        return !nonZero(read.endGame);
    case ActionStep::StopMidi:
        if (read.stopMidi != 0 && midiWasPlaying)
            media.StopMIDIMusic();
        break;
    case ActionStep::StopSounds:
        if (read.stopSounds != 0) {
            media.ReleaseWaveMix();
            media.SoundMedia().mmClose();
        }
        break;
    case ActionStep::ListName:
        if (!step.name.isEmpty() && read.listsSwitch != 0)
            game.ChangeVariableValue(step.name, step.change);
        break;
    }
    return true;
}

void AreaActions::playSound(const ActionRecord& a, const QString& channelFile, bool mp3WasPlaying)
{
    media::Media& media = m_game.media();
    const QString& areas = m_rt.project.AreasPath;
    // While MP3 music plays only an action that stops it plays sounds.
    if ((!nonZero(a.stopMp3) && mp3WasPlaying) || a.stopSounds != 0)
        return;
    if (a.playSound != 0 && m_rt.files.fileExists(areas + a.soundFile)) {
        media.ReleaseWaveMix();
        media.SoundMedia().mmOpenWave(areas + a.soundFile);
        media.SoundMedia().mmPlay();
    } else {
        media.PlaySoundChannels(channelFile);
    }
}

std::int16_t AreaActions::MakeAction(std::int16_t A, std::int16_t O)
{
    engine::Game& game = m_game;
    media::Media& media = m_game.media();
    const run::Project& p = m_rt.project;
    std::int16_t result = 0;
    try {
        game.StopVideoRequested = true;
        const bool mp3WasPlaying = media.IsMP3Playing();
        const bool midiWasPlaying = media.MidiStatus() == QLatin1String("playing");
        // A click reads the area's record, a drop the record of the area and
        // the dropped object's name, taken before the drop may remove it.
        const QString folder = p.AreasPath + m_rt.frame.CurrentFrameName + QDir::separator();
        QString objectName;
        QString path;
        if (O == 0) {
            path = folder + QString::number(A) + QStringLiteral("b.dat");
        } else {
            objectName = game.PickedObjectTag(O);
            path = folder + QString::number(A) + u'_' + objectName + QStringLiteral(".drg");
        }
        // No record of that name: the action is empty.
        std::optional<QByteArray> bytes = m_rt.files.tryReadAll(path, platform::FileResolver::kRecordFileLimit);
        if (!bytes)
            return 0;
        formats::QuotedFieldReader r(std::move(*bytes), m_rt.codePage);
        ActionRecord a;
        bool gameEnds = false;
        ReadActionRecord(r, a, [&](const ActionStep& step, const ActionRecord& read) {
            gameEnds = !applyStep(step, read, A, O, midiWasPlaying);
            return !gameEnds;
        });
        if (gameEnds)
            return 1;
        playSound(a, folder + (O == 0 ? QString::number(A) + QStringLiteral("d.dat") : QString::number(A) + u'_' + objectName + QStringLiteral(".chn")),
                  mp3WasPlaying);
        if (a.playVideo != 0) {
            game.HideMenus();
            game.element(QStringLiteral("CutSceneArea"))->setShown(false);
            game.PlayCutScene(a.videoFile, a.videoInRect, QRect(a.rectLeft, a.rectTop, a.rectWidth, a.rectHeight));
        }
        m_rt.clock().doEvents();
        // Music that already plays goes on unless this action stopped it.
        if (nonZero(a.playMidi) && !a.midiFile.toText().isEmpty() && (!midiWasPlaying || a.stopMidi != 0))
            media.PlayMIDImusic(run::MapMediaFileName(m_rt, p.FramesPath + a.midiFile.toText()), a.repeatMidi);
        if (nonZero(a.playMp3)) {
            game.ScheduleMP3Music(a.mp3File.toText());
        } else if (nonZero(a.stopMp3) && a.stopSounds == 0) {
            game.MP3Timer.setEnabled(false);
            media.StopMP3();
        }
        if (nonZero(a.showMessage))
            game.ShowTextMessage(a.message.toText(), nonZero(a.messageInStrip));
        // A video in the game picture that leads to another frame is not
        // waited for here: the next frame shows while it ends.
        if (a.playVideo != 0 && (a.videoInRect || (a.openFrame == 0 && !nonZero(a.goBack)))) {
            game.WaitForVideo();
            game.StopVideoRequested = false;
        }
        if (a.openFrame != 0) {
            game.OpenFrame(a.frame);
            result = 2;
        } else if (nonZero(a.goBack) && game.FramesHistory().size() >= 2) {
            game.GoBack();
            result = 2;
        }
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to make the action associated with the selected area."));
    }
    return result;
}

} // namespace state
