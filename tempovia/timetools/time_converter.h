// The time converter: a modeless dialog with one column per clock, a face
// over a date and a time picker, all showing one common moment.
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

// Ids of the pickers of column k.
inline constexpr int kConverterTimePickerId = 1000;
inline constexpr int kConverterDatePickerId = 1031;
// The dialog template and its title in the language resource library.
inline constexpr int kConverterDialogId = IDD_TIME_CONVERTER;
inline constexpr UINT kConverterTitleId = IDS_CONVERTER_TITLE;

// Creates the dialog (owned by `owner`) and shows it, or brings the open one
// forward. Null when the template cannot be loaded.
HWND ShowTimeConverterDialog(HWND owner);
HWND GetTimeConverterWindow();
void CloseTimeConverter();

// The converter's moment (UTC); zero when no converter is open.
SYSTEMTIME TimeConverterMoment();

// Where the converter learns the current UTC time; tests pin it. Null
// restores the system's clock.
using ConverterNowFn = void (*)(SYSTEMTIME* utc);
ConverterNowFn SetConverterNowFn(ConverterNowFn fn);
