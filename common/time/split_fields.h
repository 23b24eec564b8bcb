// Splitting one line of the tab-separated data files into fields.
#pragma once

// Fills the start and length of up to `max` fields of `line` and returns how
// many there are. Fields are separated by TAB; the line ends at NUL, CR or LF.
// A field is counted only when it starts before the line end: an empty field
// between two TABs counts (length 0), an empty one right at the end does not.
// Fields are not terminated; read each up to its length.
int SplitFields(const char* line, const char** starts, int* lengths, int max);
