// Splitting one line of the tab-separated data files into fields.
#pragma once

// A field of a line: not terminated, read up to its length only, so that no
// parser runs into the next field. A field past the end of the line is empty.
struct DataField {
    const char* p = "";
    int n = 0;
    bool empty() const { return n == 0; }
};

// Fills the start and length of up to `max` fields of `line` and returns how
// many there are. Fields are separated by TAB; the line ends at NUL, CR or LF.
// A field is counted only when it starts before the line end: an empty field
// between two TABs counts (length 0), an empty one right at the end does not.
// Fields are not terminated; read each up to its length.
int SplitFields(const char* line, const char** starts, int* lengths, int max);
// The same into fields; those past the count keep their values.
int SplitFields(const char* line, DataField* fields, int max);
