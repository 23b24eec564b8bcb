// The main program's command line: /exit, /restart, /import <file>,
// /export <file>, /nh and /<digit>... (kept for the settings program).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Longest switch word that is looked at, and the room of the settings switch.
constexpr std::size_t kSwitchWordMax = 259;
// Characters of the /import and /export arguments that are used.
constexpr std::size_t kImportPathMax = 512;
constexpr std::size_t kExportPathMax = 260;

struct CommandLineOptions {
    bool exitRequested = false;
    bool restartRequested = false;
    bool noHook = false;
    // Positions in the parsed text just behind "/import" and "/export"; null
    // when the switch is absent.
    const char* importArg = nullptr;
    const char* exportArg = nullptr;
    // A switch made of a slash, a digit and the rest of its word ("/3.2");
    // empty when none. A later one replaces an earlier one.
    wchar_t settingsSwitch[kSwitchWordMax + 1] = {};
};

// Scans the 8-bit command line (without the program's own name). A switch may
// stand anywhere; each word is widened byte by byte and compared ignoring
// letter case; unknown words are ignored. A null text gives the defaults.
void ParseCommandLine(const char* text, CommandLineOptions& options);

// Reads one argument: skips blanks; an argument opened by a double or single
// quote runs to the next of the same quote (not part of it), any other to the
// next blank, tab or end. With a buffer, converts it from the ANSI code page
// into the buffer (terminated; capacity in characters, terminator included).
// Returns the position just behind the argument, where a closing quote still
// stands. A null text gives null; an empty argument, a failed conversion or an
// argument that does not fit gives back the text unchanged (and an empty buffer).
const char* MultiByteToWide(const char* text, wchar_t* buffer, std::size_t capacity);

// The command line without /import and /export and their files: what a
// restart of the program may repeat (an import done once must not be done
// again over what the user changed since).
std::string WithoutFileSwitches(const char* text);
