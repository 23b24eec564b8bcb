// Reading the general options into GlobalSettings and the whole load of a
// user's settings (general options, then every clock with its alarms).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "common/records/global_settings.h"

// Takes one news channel of the user's sections; returns whether it kept it.
// Called with (nullptr, 0, -1, 0, 0) after the last channel of a load and with
// (nullptr, 0, 0, 0, 0) to empty its list.
using NewsChannelConsumer = bool (*)(const wchar_t* url, int ttl, int index, int expanded, int enabled);

// Installs the consumer (nullptr: none, and no channel is read); returns the
// previous one.
NewsChannelConsumer SetNewsChannelConsumer(NewsChannelConsumer consumer);
NewsChannelConsumer GetNewsChannelConsumer();

// The time server used when the settings name none.
inline constexpr wchar_t kDefaultTimeServer[] = L"pool.ntp.org";

// Reads `server<n>` of the section (nullptr: [common]) of the file into
// buffer (size characters, at most 128 read).
void ReadTimeServer(const wchar_t* file, const wchar_t* section, int n, wchar_t* buffer, size_t size);

// Reads the keys of "<prefix>:main" (or the named section), [common] and [map]
// into settings, hands the language to the localisation object, applies the
// autostart choice and hands the news channels to the consumer.
void ReadMainOptions(const wchar_t* prefix, GlobalSettings& settings, const wchar_t* section = nullptr);

// Sets skinIsFolder and classicStyle from the name in skin.
void TakeSkinKind(GlobalSettings& settings);

// The whole load into g_settings and the clock table: seeds and completes the
// user's profile from the defaults, reads the general options and every clock.
// Returns whether another clock may be added.
bool LoadAllSettings();

// ---- start with Windows --------------------------------------------------------

// Where the autostart value lives; tests point it elsewhere.
struct AutostartLocation {
    HKEY root;
    const wchar_t* key;    // the Run key, created when missing
    const wchar_t* value;  // "Tempovia"
};
const AutostartLocation& CurrentAutostartLocation();
// nullptr restores HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
void SetAutostartLocation(const AutostartLocation* location);

// The command line the Run value holds: the program's path in double quotes,
// so that a folder with blanks cannot start another program.
std::wstring AutostartCommand(const wchar_t* programFolder);
// On: sets the Run value to AutostartCommand; off: deletes it. Registry
// failures are ignored (false comes back).
bool ApplyAutostart(bool on, const wchar_t* programFolder);

// Writes every key of "<prefix>:main" that ReadMainOptions reads from the
// record (not `autostart`, the news channels or the sync keys of [common]),
// and `initialized` of [map], in the forms the settings program writes them.
bool WriteMainOptions(const wchar_t* prefix, const GlobalSettings& settings);
