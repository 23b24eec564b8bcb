// Filling a user's profile from the shipped defaults: missing keys of a
// section, and on first run whole clocks, alarms and news channels.
#pragma once

#include <windows.h>

#include <string>

// Fills the user section <prefix><suffix> from "default<suffix>" (a ":" put in
// when the suffix has none) or, without fromNamedSection, from
// "default:clocks": every key the default section has and the user section
// lacks is written. Returns whether the default section holds any key.
bool FillMissingFromDefaults(const std::wstring& prefix, const std::wstring& suffix, bool fromNamedSection);

// Seeds and completes the user's profile before it is read: `common`, the
// user's main section, each clock (all shipped clocks with their alarms when
// the user has no first clock) and, once, the shipped news channels.
// clockCount receives the number of clock sections (at most 30); returns how
// many of them are enabled. Without the settings-file lock nothing is written
// or moved into place: the user is told why and the clocks the file has are
// counted as they are.
int InitUserSettings(const std::wstring& prefix, int& clockCount);

// What filling needs from other parts of the suite; tests replace them.
struct DefaultsHooks {
    // Key name and display name of the computer's current time zone, for `zone`
    // and `timezone` keys whose default is empty.
    std::wstring (*currentZoneKey)() = nullptr;
    std::wstring (*currentZoneDisplayName)() = nullptr;
    // Tells the time service that `common` may have changed.
    void (*reloadTimeService)() = nullptr;
    // Tells the user why the profile was neither seeded nor completed: the
    // settings-file lock was not had (its failure as IniFileLock gives it).
    void (*lockFailed)(DWORD failure) = nullptr;
};
// Puts hooks in force (members left null keep the real ones); returns the old.
DefaultsHooks SetDefaultsHooks(const DefaultsHooks& hooks);
