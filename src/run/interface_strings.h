#pragma once

#include <QString>

#include <array>

namespace run {

// The player's own words, numbered 0 to 60, replaceable by the game's Texts
// file so a game can translate or reword the player.
class InterfaceStrings {
public:
    static constexpr int kCount = 61;

    // Throws base::Failure for an index outside 0 to 60.
    const QString& operator()(int index) const;
    void set(int index, const QString& text);

    // Writes entries 1 to 44 with the short (false) or long (true) set.
    void SetDefaultInterfaceStrings(bool longSet);

private:
    std::array<QString, kCount> m_strings;
};

} // namespace run
