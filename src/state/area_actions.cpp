#include "state/area_actions.h"

#include "app/media_names.h"
#include "app/runtime.h"
#include "engine/game.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "platform/failure.h"

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
            throw platform::Failure(QStringLiteral("Type mismatch: '%1'").arg(t.left(40)));
        return n != 0;
    }
    return value.number != 0;
}

bool AreaActions::isTrue(const formats::FieldValue& value)
{
    return value.toNumber() == -1;
}

namespace {

// The fields of an action record, with the values of a record that ends
// early. Names say what a field asks for; "Value" fields keep what the file
// holds (number, Boolean or text) and are tested as non-zero.
struct ActionRecord {
    std::int16_t variableSwitch = 0;
    QString variable;
    formats::FieldValue setToZero, setToOne, toggle;
    formats::FieldValue showMessage, message;
    std::int16_t playSound = 0;
    QString soundFile;
    formats::FieldValue remove, endGame;
    std::int16_t openFrame = 0;
    QString frame;
    std::int16_t stopMidi = 0, stopSounds = 0, playVideo = 0;
    QString videoFile;
    bool videoInRect = false;
    std::int16_t rectLeft = 0, rectTop = 0, rectWidth = 0, rectHeight = 0;
    formats::FieldValue stopMp3, playMidi, midiFile, playMp3, mp3File, goBack, messageInStrip;
    std::int16_t listsSwitch = 0;
    bool repeatMidi = true;
};

void skip(formats::QuotedFieldReader& r, int fields)
{
    for (int k = 0; k < fields; ++k)
        r.skip();
}

} // namespace

std::int16_t AreaActions::MakeAction(std::int16_t A, std::int16_t O)
{
    engine::Game& game = m_game;
    media::Media& media = m_rt.media();
    const app::Project& p = m_rt.project;
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
        std::optional<QByteArray> bytes = m_rt.files.tryReadAll(path);
        if (!bytes)
            return 0;
        formats::QuotedFieldReader r(std::move(*bytes), m_rt.codePage);
        ActionRecord a;
        // Each change happens as soon as its fields are read: a record
        // garbled further on leaves the earlier changes done.
        a.variableSwitch = r.readInt16();
        a.variable = r.readString();
        a.setToZero = r.readAny();
        a.setToOne = r.readAny();
        a.toggle = r.readAny();
        if (!a.variable.isEmpty() && a.variableSwitch != 0) {
            // Independent tests: all three set ends at 0 (0, 1, toggled).
            if (nonZero(a.setToZero))
                game.ChangeVariableValue(a.variable, 0);
            if (nonZero(a.setToOne))
                game.ChangeVariableValue(a.variable, 1);
            if (nonZero(a.toggle))
                game.ChangeVariableValue(a.variable, -1);
        }
        a.showMessage = r.readAny();
        a.message = r.readAny();
        a.playSound = r.readInt16();
        a.soundFile = r.readString();
        a.remove = r.readAny();
        if (nonZero(a.remove)) {
            if (O != 0)
                game.RemovePickedObject(O);
            else
                game.Disappear.Add(m_rt.frame.CurrentFrameName, A);
        }
        a.endGame = r.readAny();
        if (nonZero(a.endGame))
            return 1;
        a.openFrame = r.readInt16();
        a.frame = r.readString();
        // Records of older versions end before any group that follows.
        if (!r.atEnd()) {
            a.stopMidi = r.readInt16();
            if (a.stopMidi != 0 && midiWasPlaying)
                media.StopMIDIMusic();
            a.stopSounds = r.readInt16();
            if (a.stopSounds != 0) {
                media.ReleaseWaveMix();
                media.SoundMedia().mmClose();
            }
            a.playVideo = r.readInt16();
            a.videoFile = r.readString();
            r.skip();
            // Only the Boolean true puts the video in its rectangle: 1 does not.
            a.videoInRect = isTrue(r.readAny());
            a.rectLeft = r.readInt16();
            a.rectTop = r.readInt16();
            a.rectWidth = r.readInt16();
            a.rectHeight = r.readInt16();
        }
        if (!r.atEnd()) {
            a.stopMp3 = r.readAny();
            a.playMidi = r.readAny();
            a.midiFile = r.readAny();
            a.playMp3 = r.readAny();
            a.mp3File = r.readAny();
            if (!r.atEnd()) {
                skip(r, 3);
                a.goBack = r.readAny();
                if (!r.atEnd()) {
                    skip(r, 3);
                    a.messageInStrip = r.readAny();
                    if (!r.atEnd()) {
                        skip(r, 3);
                        a.listsSwitch = r.readInt16();
                        // Names to set to 0, to set to 1, to toggle.
                        for (const std::int16_t change : {0, 1, -1}) {
                            const double n = r.readAny().toNumber();
                            for (double j = 0; j < n; ++j) {
                                const QString name = r.readString();
                                if (!name.isEmpty() && a.listsSwitch != 0)
                                    game.ChangeVariableValue(name, change);
                            }
                        }
                        if (!r.atEnd())
                            a.repeatMidi = r.readBoolean();
                    }
                }
            }
        }
        // While MP3 music plays only an action that stops it plays sounds.
        if ((nonZero(a.stopMp3) || !mp3WasPlaying) && a.stopSounds == 0) {
            if (a.playSound != 0 && m_rt.files.fileExists(p.AreasPath + a.soundFile)) {
                media.ReleaseWaveMix();
                media.SoundMedia().mmOpenWave(p.AreasPath + a.soundFile);
                media.SoundMedia().mmPlay();
            } else {
                const QString channels = O == 0 ? QString::number(A) + QStringLiteral("d.dat")
                                                : QString::number(A) + u'_' + objectName + QStringLiteral(".chn");
                media.PlaySoundChannels(folder + channels);
            }
        }
        if (a.playVideo != 0) {
            game.HideMenus();
            game.element(QStringLiteral("CutSceneArea"))->setShown(false);
            game.PlayCutScene(a.videoFile, a.videoInRect, QRect(a.rectLeft, a.rectTop, a.rectWidth, a.rectHeight));
        }
        m_rt.clock().doEvents();
        // Music that already plays goes on unless this action stopped it.
        if (nonZero(a.playMidi) && !a.midiFile.toText().isEmpty() && (!midiWasPlaying || a.stopMidi != 0))
            media.PlayMIDImusic(app::MapMediaFileName(m_rt, p.FramesPath + a.midiFile.toText()), a.repeatMidi);
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
    } catch (const platform::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to make the action associated with the selected area."));
    }
    return result;
}

} // namespace state
