// The background profile page: one tint period of a clock, countdown or
// stopwatch, its colour and opacity, with a live preview.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/records/background_profile.h"
#include "common/records/clock_record.h"

// Page controls.
inline constexpr int kIdcProfileName = 1016;
inline constexpr int kIdcProfileNameMirror = 1243;
inline constexpr int kIdcFromTime = 1098;
inline constexpr int kIdcToTime = 1099;
inline constexpr int kIdcWeekdays[7] = {1100, 1101, 1102, 1103, 1104, 1106, 1107};  // Sunday first
inline constexpr int kIdcColour = 1108;
inline constexpr int kIdcOpacity = 1109;
// Days, hours, minutes, seconds on the timer: from, then to.
inline constexpr int kIdcFromFields[4] = {1288, 1289, 1290, 1291};
inline constexpr int kIdcToFields[4] = {1293, 1295, 1296, 1292};
inline constexpr int kDurationFieldChars[4] = {3, 6, 8, 10};
inline constexpr int kIdcFromDate = 1298;
inline constexpr int kIdcToDate = 1299;
inline constexpr int kIdcFromClock = 1300;
inline constexpr int kIdcToClock = 1301;

inline constexpr int kProfileNameChars = 77;
inline constexpr int kProfileTimeChars = 21;
inline constexpr int kMaxOpacityPosition = 127;
inline constexpr int kMaxDurationDays = 999;
// WM_PAGE_CHANGED flags: the node's title, the preview.
inline constexpr WPARAM kChangedTitle = 1;
inline constexpr WPARAM kChangedPreview = 2;

INT_PTR CALLBACK BackgroundPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The preview of the clock with the tint (previews module), and the colour
// chooser; tests replace both.
struct ProfilePageHooks {
    void (*setPreview)(const ClockRecord* clock, const BackgroundProfile* profile) = nullptr;
    void (*draw)(const DRAWITEMSTRUCT* item) = nullptr;
    bool (*hasPreviewClock)() = nullptr;
    // Answers true with the chosen colour; nullptr: ChooseColorW.
    bool (*chooseColour)(HWND owner, COLORREF& colour) = nullptr;
};
ProfilePageHooks SetProfilePageHooks(const ProfilePageHooks& hooks);

// Opacity and track bar position: 255 shows 127; 127 stores 255.
int OpacityToPosition(uint32_t opacity);
uint32_t PositionToOpacity(int position);
// Text section of the page for a clock (null: a clock).
const wchar_t* BackgroundPageSection(const ClockRecord* clock);
