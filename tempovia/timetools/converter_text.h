// Texts of the time converter: the time pickers' format and the tooltip of
// a face.
#pragma once

#include <windows.h>

#include <string>

#include "common/records/clock_record.h"

// A locale time picture without its seconds: the time separator and the "s"
// letters after it go ("h:mm:ss tt" -> "h:mm tt").
std::wstring StripSecondsFromTimePicture(const wchar_t* picture);

// The tooltip's limit, in characters, as the tooltip's own buffer allows.
inline constexpr size_t kConverterTipChars = 77;

// Ampersands doubled for the tooltip's prefix processing: in a run the first
// is written three times and each further one twice.
std::wstring EscapeTipAmpersands(const std::wstring& text);

// The tooltip of a face: the clock's label (cut so that the date line fits
// in 75 characters), the long date of its local time and the text of a
// background profile in force then, cut to kConverterTipChars.
std::wstring ConverterTipText(const ClockRecord& clock, const SYSTEMTIME& local);
