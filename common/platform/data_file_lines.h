// The lines of the program's text data files (timezones.txt, tz_changes.txt,
// cities.txt): opened for reading while others may read but not write, in
// text mode, one single-byte line at a time.
#pragma once

#include <cstdio>

// The longest line kept; a longer one is cut and its rest dropped.
inline constexpr int kDataLineMaxChars = 2047;

class DataFileLines {
public:
    // A null path or a file that does not open gives no lines. maxChars is
    // kept within 0..kDataLineMaxChars.
    explicit DataFileLines(const wchar_t* path, int maxChars = kDataLineMaxChars);
    ~DataFileLines();
    DataFileLines(const DataFileLines&) = delete;
    DataFileLines& operator=(const DataFileLines&) = delete;

    bool IsOpen() const { return file_ != nullptr; }

    // The next line that is neither empty nor a comment (first character "#"
    // or ";"), terminated and cut to maxChars characters; the rest of a longer
    // line is dropped rather than read as a line of its own. Null at the end
    // of the file. The text stays valid until the next call.
    const char* Next();

    // The number in the file (from 1, comments and empty lines counted) of
    // the line Next() returned last; 0 before the first.
    int LineNumber() const { return lineNumber_; }

    // Calls onLine(const char* line) for each such line until it answers
    // false or the file ends.
    template <class OnLine>
    void ForEach(OnLine onLine) {
        while (const char* line = Next())
            if (!onLine(line)) break;
    }

private:
    bool ReadLine();

    FILE* file_ = nullptr;
    int maxChars_;
    int lineNumber_ = 0;
    char line_[kDataLineMaxChars + 1];
};
