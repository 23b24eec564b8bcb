// The settings program's command line: the switch behind the program path
// names the page to open (and the clock and item it is about), or asks for
// the map installation mode.
#pragma once

#include <cstddef>

struct SettingsCommand {
    unsigned int page = 0;   // a SETTINGS_PAGE_* code; 0 = none
    unsigned int clock = 0;  // N: the clock section number; 0 = none
    unsigned int item = 0;   // M: the number after "."; 0 = none
    bool install = false;    // "/inst": install the map, create no window
};

// Numbers never grow past this: N and M travel as the two halves of the
// lParam of SETTINGS_MSG_OPEN_PAGE, so a larger one would spill into the
// other half. No clock or item gets anywhere near it.
inline constexpr unsigned int kSwitchNumberMax = 0xFFFF;

// Reads the whole command line (program path included, as GetCommandLineW
// gives it). Never fails: anything it does not understand is "no page".
SettingsCommand ParseSettingsCommandLine(const wchar_t* line);

// The packed clock and item of SETTINGS_MSG_OPEN_PAGE: (M << 16) | N.
inline unsigned long PackPageTarget(const SettingsCommand& c) {
    return (static_cast<unsigned long>(c.item & 0xFFFF) << 16) | (c.clock & 0xFFFF);
}
