#include "common/platform/data_file_lines.h"

#include <share.h>

DataFileLines::DataFileLines(const wchar_t* path, int maxChars)
    : maxChars_(maxChars < 0 ? 0 : maxChars > kDataLineMaxChars ? kDataLineMaxChars : maxChars) {
    line_[0] = '\0';
    // Other readers are welcome; a writer must not change the lines under us.
    if (path) file_ = _wfsopen(path, L"rt", _SH_DENYWR);
}

DataFileLines::~DataFileLines() {
    if (file_) fclose(file_);
}

// The stream is this object's own and read on one thread: the characters are
// taken without getc's lock, which cost more than the rest of the loading.
bool DataFileLines::ReadLine() {
    int c = _getc_nolock(file_);
    if (c == EOF) return false;
    int n = 0;
    while (c != EOF && c != '\n') {
        if (n < maxChars_) line_[n++] = static_cast<char>(c);
        c = _getc_nolock(file_);
    }
    line_[n] = '\0';
    ++lineNumber_;
    return true;
}

const char* DataFileLines::Next() {
    if (!file_) return nullptr;
    while (ReadLine()) {
        if (line_[0] == '\0' || line_[0] == '#' || line_[0] == ';') continue;
        return line_;
    }
    return nullptr;
}
