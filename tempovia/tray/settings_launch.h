// Starting the settings program at a page: its command-line switches
// (" /3", " /alarm3.2", " /new_timer", ...) name the page.
#pragma once

// Starts settings.exe of the program folder with the parameters formatted
// from `format` (null or empty: none) and up to two numbers. False when the
// shell refused.
bool LaunchSettings(const wchar_t* format = nullptr, int first = 0, int second = 0);
// " /new" for a clock (kind 0), " /new_timer" (kind below 0) or
// " /new_stopwatch" (kind above 0).
bool LaunchSettingsNew(int kind);
