#include "run/interface_strings.h"

#include "base/failure.h"

namespace run {

namespace {

struct DefaultString {
    int index;
    const char* shortText;
    const char* longText; // nullptr: same as the short one
};

constexpr DefaultString kDefaults[] = {
    {1, "Start", "Start New Game"},
    {2, "Load", "Load Game..."},
    {3, "Exit", nullptr},
    {4, "Created By:", nullptr},
    {5, "E-mail:", nullptr},
    {6, "Web site:", nullptr},
    {7, "Change display resolution to", nullptr},
    {8, "Save...", "Save game..."},
    {9, "Please select something.", nullptr},
    {10, "Do you really want to quit?", nullptr},
    {11, "Cancel", nullptr},
    {12, "Exit", nullptr},
    {13, "Do you want to open the default mail client to send an e-mail to:", nullptr},
    {14, "Do you want to visit", nullptr},
    {15, "(You must be connected to the Internet)", nullptr},
    {16, "", nullptr},
    {17, "Load", "Load a previously saved game"},
    {18, "Select the file you wish to load and click 'LOAD'", "Select the game you wish to load and click 'LOAD'"},
    {19, "LOAD", nullptr},
    {20, "", nullptr},
    {21, "Save", "Save the current game"},
    {22, "Remove Selected", nullptr},
    {23, "Enter the name of the file you want to save", "Enter the name of the game you want to save"},
    {24, "already exists. Do you want to replace it?", nullptr},
    {25, "SAVE", nullptr},
    {26, "Remove Saved File", "Remove Saved Game"},
    {27, "Do you really want to remove", nullptr},
    {28, "", nullptr},
    {29, "Error", nullptr},
    {30, "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit.",
     "An error has occurred. This game may not work properly. Press 'Esc' and the click 'Exit' to quit."},
    {31, "Error description:", nullptr},
    {32, "Do you want to continue anyway? (not recommended)", nullptr},
    {33, "The following file is missing:", nullptr},
    {34, "This file may have been moved or removed from its original location. The program may not work properly until the missing file is placed back in its original location. Press 'Esc' and the click 'Exit' to quit.",
     "This file may have been moved or removed from its original location. This game may not work properly until the missing file is placed back in its original location. Press 'Esc' and the click 'Exit' to quit."},
    {35, "Please do not use any of the following characters:", nullptr},
    {36, "Please insert the CD in the CD-ROM drive and then click 'OK'.", nullptr},
    {37, "CD-ROM Drive:", nullptr},
    {38, "The selected device is unavailable. Make sure that the CD-ROM drive letter is right and that the disk is properly inserted, and then try again.", nullptr},
    {39, "", nullptr},
    {40, "Warning! Your system is set to use large fonts. This program will NOT work properly if you don't change this setting. Do you want to continue anyway? (not recommended)", nullptr},
    {41, "To fix this problem, go to the 'Control Panel' (from the 'Settings' menu of the Start Menu), double-click 'Display', click the 'Settings' tab, click 'Advanced...' and select 'Small Fonts' under 'Font size'. Click 'OK' and restart your computer.", nullptr},
    {42, "", nullptr},
    {43, "The following folder is missing:", nullptr},
    {44, "Make sure that the disk is properly inserted, and then try again.", nullptr},
};

void checkIndex(int index)
{
    if (index < 0 || index >= InterfaceStrings::kCount)
        throw base::Failure(base::Failure::Kind::OutOfRange, QStringLiteral("Subscript out of range: interface string %1").arg(index),
                            QStringLiteral("interface string"), QString::number(index));
}

} // namespace

const QString& InterfaceStrings::operator()(int index) const
{
    checkIndex(index);
    return m_strings[static_cast<std::size_t>(index)];
}

void InterfaceStrings::set(int index, const QString& text)
{
    checkIndex(index);
    m_strings[static_cast<std::size_t>(index)] = text;
}

void InterfaceStrings::SetDefaultInterfaceStrings(bool longSet)
{
    for (const DefaultString& d : kDefaults) {
        const char* text = longSet && d.longText ? d.longText : d.shortText;
        m_strings[static_cast<std::size_t>(d.index)] = QString::fromUtf8(text);
    }
}

} // namespace run
