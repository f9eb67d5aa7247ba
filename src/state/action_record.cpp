#include "state/action_record.h"

#include "formats/quoted_field_reader.h"
#include "state/area_actions.h"

namespace state {

namespace {

void skip(formats::QuotedFieldReader& r, int fields)
{
    for (int k = 0; k < fields; ++k)
        r.skip();
}

} // namespace

void ReadActionRecord(formats::QuotedFieldReader& r, ActionRecord& a,
                      const std::function<bool(const ActionStep&, const ActionRecord&)>& step)
{
    auto at = [&](ActionStep::Kind kind) { return !step || step(ActionStep{kind, QString(), 0}, a); };
    a.variableSwitch = r.readInt16();
    a.variable = r.readString();
    a.setToZero = r.readAny();
    a.setToOne = r.readAny();
    a.toggle = r.readAny();
    at(ActionStep::Variable);
    a.showMessage = r.readAny();
    a.message = r.readAny();
    a.playSound = r.readInt16();
    a.soundFile = r.readString();
    a.remove = r.readAny();
    at(ActionStep::Removal);
    a.endGame = r.readAny();
    if (!at(ActionStep::EndGame))
        return;
    a.openFrame = r.readInt16();
    a.frame = r.readString();
    // Records of older versions end before any group that follows.
    if (!r.atEnd()) {
        a.stopMidi = r.readInt16();
        at(ActionStep::StopMidi);
        a.stopSounds = r.readInt16();
        at(ActionStep::StopSounds);
        a.playVideo = r.readInt16();
        a.videoFile = r.readString();
        r.skip();
        // Only the Boolean true puts the video in its rectangle: 1 does not.
        a.videoInRect = AreaActions::isTrue(r.readAny());
        a.rectLeft = r.readInt16();
        a.rectTop = r.readInt16();
        a.rectWidth = r.readInt16();
        a.rectHeight = r.readInt16();
    }
    if (r.atEnd())
        return;
    a.stopMp3 = r.readAny();
    a.playMidi = r.readAny();
    a.midiFile = r.readAny();
    a.playMp3 = r.readAny();
    a.mp3File = r.readAny();
    if (r.atEnd())
        return;
    skip(r, 3);
    a.goBack = r.readAny();
    if (r.atEnd())
        return;
    skip(r, 3);
    a.messageInStrip = r.readAny();
    if (r.atEnd())
        return;
    skip(r, 3);
    a.listsSwitch = r.readInt16();
    // Names to set to 0, to set to 1, to toggle.
    for (const std::int16_t change : {0, 1, -1}) {
        const double n = r.readAny().toNumber();
        for (double j = 0; j < n; ++j) {
            const QString name = r.readString();
            if (step)
                step(ActionStep{ActionStep::ListName, name, change}, a);
        }
    }
    if (!r.atEnd())
        a.repeatMidi = r.readBoolean();
}

} // namespace state
