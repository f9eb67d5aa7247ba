#pragma once

#include <QString>

#include <cstdint>

namespace run {
class Context;
}
namespace engine {
class Game;
}
namespace formats {
struct FieldValue;
}

namespace state {

struct ActionRecord;
struct ActionStep;

// Carries out the action record of an area, or of an object dropped on an
// area, in its fixed order: variables, removal, end of the game, sounds,
// video, music, message, and last another frame or the previous one.
class AreaActions {
public:
    AreaActions(run::Context& rt, engine::Game& game) : m_rt(rt), m_game(game) {}

    // 0: done (or no action), 1: the game ends, 2: another frame was opened.
    std::int16_t MakeAction(std::int16_t area, std::int16_t object);

    // "Non-zero" and "true" as the records mean them: a value is non-zero
    // when it does not equal 0 (empty counts as 0); it is true only when it
    // equals the Boolean true, -1.
    static bool nonZero(const formats::FieldValue& value);
    static bool isTrue(const formats::FieldValue& value);

private:
    // The record's steps that act while it is read; false ends the reading
    // (the game ends).
    bool applyStep(const ActionStep& step, const ActionRecord& read, std::int16_t area, std::int16_t object, bool midiWasPlaying);
    // The action's sound, or its channel file, unless MP3 music keeps them
    // quiet.
    void playSound(const ActionRecord& a, const QString& channelFile, bool mp3WasPlaying);

    run::Context& m_rt;
    engine::Game& m_game;
};

} // namespace state
