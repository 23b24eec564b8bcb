// Reading index.tsv as the downloader needs it, and the service URLs formed
// from names and index lines.
#pragma once

#include <string>

// What one index line asks the downloader for.
struct PhotoIndexLine {
    int number = 0;       // names the file "<number>.jpg"
    std::wstring city;    // country lists: the city whose folder takes the photo
    std::string path;     // the photo's path on the service, 8-bit as read
};

enum class IndexLineKind {
    Skip,  // empty, a comment, or no usable photo number
    Use,
    End,   // too few fields: the reading of the file ends
};

// A city list line needs 4 fields (number, -, path, caption, ...), a country
// list line 5 (number, city, -, path, caption, ...).
IndexLineKind ParsePhotoIndexLine(const char* line, bool countryList, PhotoIndexLine& out);

// "<base><country>/[<city>/]index.tsv" with each name made safe (blanks as
// "_") and URL-encoded, in UTF-8. False when it does not fit kPhotoUrlChars.
bool BuildPhotoIndexUrl(const wchar_t* country, const wchar_t* city, std::string& url);
// "<root>" followed by the path in UTF-8 (one character a byte read); a path
// without its leading "/" gets one, so that it cannot change the host. False
// when it does not fit kPhotoUrlChars bytes.
bool BuildPhotoUrl(const std::string& path, std::string& url);
