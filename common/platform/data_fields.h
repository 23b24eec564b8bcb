// Numbers, times and texts inside one field of a data-file line. Each reader
// stays inside its field, as scanf would inside a terminated copy of it, so a
// bad field never borrows digits from the next one.
#pragma once

#include <windows.h>

#include "common/platform/split_fields.h"

// One scanf-style "%d" conversion at *pos, after leading blanks, taking at
// most `width` characters after them (0: no limit). False on no digits or a
// value outside [lo, hi]; *pos then stays.
bool ScanFieldNumber(DataField f, int* pos, int width, long long lo, long long hi, long long* out);

// "%d" from the field's start into a 32-bit number.
bool ParseFieldLong(DataField f, long* out);
// "%u" into a SYSTEMTIME member: a negative or over-wide number is no value.
bool ParseFieldWord(DataField f, WORD* out);
// "%d:%2d:%2d", taken only as a valid time of day; sets the hour, minute and
// second of `date`, nothing else.
bool ParseFieldTimeOfDay(DataField f, SYSTEMTIME* date);
// "%4d.%2d.%2d %2d:%2d:%2d" between the years 2000 and 2999: year, month and
// day must read; the time of day may stop early, its missing parts being 0.
// Every part read must be in range. The result has weekday and milliseconds 0.
bool ParseFieldMoment(DataField f, SYSTEMTIME* out);

// The field as text, each byte one character (the files are single-byte
// text), cut so that the terminator fits in outChars.
void CopyFieldText(DataField f, wchar_t* out, int outChars);
