#pragma once

#include <QString>

namespace app {

// Whether the player can open its windows, asked before and while the
// application is made: Qt ends a program whose display it cannot open
// with an abort and its own words; the player says instead that there is
// no display and how to play without one, and exits with the status of a
// usage error.
class DisplayCheck {
public:
    // Why no window could open, judged from the environment alone (the Qt
    // platform named, DISPLAY, WAYLAND_DISPLAY); empty when it names a
    // display or a platform that needs none.
    static QString missing();

    // From now until destruction, Qt's failure to open the display ends
    // the program with the player's one line; Qt's other messages of that
    // time are held back and told once the display has opened.
    DisplayCheck();
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;
};

} // namespace app
