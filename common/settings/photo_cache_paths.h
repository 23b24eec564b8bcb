// Where the shared city-photo cache lives and how its names are formed. The
// main program downloads into it; the taskbar clock and the map read it.
// Layout: "<root>\<country>\index.tsv" for a whole country,
// "<root>\<country>\<city>\index.tsv" and "<number>.jpg" for a city, where the
// root is the all-users application data folder followed by "\Dravik\Vistrel".
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

inline constexpr wchar_t kPhotoCacheTail[] = L"\\Dravik\\Vistrel";
inline constexpr wchar_t kPhotoIndexFile[] = L"index.tsv";
// The city-photo web service: index files live below the base, photo paths
// of the index lines follow the root. The host is a placeholder until the
// service has its address.
inline constexpr char kPhotoServiceBase[] = "http://www.vistrel.example/cms/";
inline constexpr char kPhotoServiceRoot[] = "http://www.vistrel.example";

// A service root followed by a page or photo path of an index line, with a
// "/" between them unless the path begins with one, so that a path can never
// change the host ("root" + ".evil.example/x").
std::string JoinServicePath(const std::string& root, const std::string& path);

// index.tsv lines are 8-bit text of at most this many characters; longer
// lines are cut and their rest is passed over.
inline constexpr int kPhotoIndexLineChars = 4095;
inline constexpr int kPhotoIndexFieldCount = 6;

// Drops "*", "/", ":", ";", "?", "\", DEL and every control character, in
// place; a blank stays or, with blanksToUnderscore, becomes "_" (names used in
// URLs; folder names keep their blanks).
void MakeFileName(wchar_t* text, bool blanksToUnderscore);

// False for a made-safe name that would not name a folder of its own below
// its parent: empty, or nothing but dots and blanks ("..", "." and the like).
bool IsPhotoFolderName(const wchar_t* safeName);

// The cache root, determined once: false when the system does not give the
// all-users application data folder.
bool GetCityPhotoRoot(std::wstring& root);
// Puts another root in force (empty: determine it again); tests use a folder
// of their own.
void SetCityPhotoRoot(const wchar_t* root);

// "<root>\<country>\" and, with a non-empty city, "<city>\" (names made safe),
// into folder (chars including the terminator). With create, each missing
// level is made. False without a country, for a name that cannot be a folder,
// without a root, when the path does not fit or a level cannot be made.
bool GetCityPhotoFolderMain(const wchar_t* country, const wchar_t* city, wchar_t* folder, size_t chars,
                            bool create);

// Reads one index line into line (terminated, CR/LF kept); the rest of a
// longer line is passed over so that it cannot pose as a line of its own.
// False at the end of the file.
bool ReadPhotoIndexLine(FILE* file, char (&line)[kPhotoIndexLineChars + 2]);
// Splits a line at its TABs; fields end at CR or LF; at most
// kPhotoIndexFieldCount fields. Returns the number of fields.
int SplitPhotoIndexLine(const char* line, std::string (&fields)[kPhotoIndexFieldCount]);
// The text of an index field, one character a byte. Every reader of the cache
// (the main program, the taskbar clock, the map) decodes it this way, so that
// a city named in a country's index is the same city to all of them whatever
// the system's code page.
std::wstring WidenPhotoIndexText(const std::string& text);
