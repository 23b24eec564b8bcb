// Copying whole profiles between INI files, renaming the user part of the
// section names on the way; the ground of settings export and import.
#pragma once

#include <string>

// Copies the settings sections of sourceFile into targetFile: the shared
// `common` and `map`, and those whose part before the first ":" is exactly
// sourcePrefix (compared without regard to case; an empty prefix stands for an
// empty part only) and that are :main, :clock<N> (1..30), :clock<N>:alarm<M>
// (1..20) or :rss<N> (1..128), under targetPrefix (when given). Any other name
// is skipped. A source without clock 1 brings no clock: its clock and alarm
// sections are skipped and the target keeps its own. Otherwise the target
// then loses the clock and alarm sections of that prefix that were not copied. False when a file name is missing, both name
// the same file, or a section could not be written.
bool CopyIniSections(const wchar_t* sourceFile, const wchar_t* sourcePrefix, const wchar_t* targetFile,
                     const wchar_t* targetPrefix);

// True when both paths lead to the same file: the same file on disk when both
// exist, else the same full path (without regard to case).
bool IsSameFile(const wchar_t* a, const wchar_t* b);

// The full path in its long form (a short 8.3 name of an existing file or
// folder spelled out), without a "\\?\" or "\\.\" prefix; the path as given
// (less the prefix) when it cannot be had.
std::wstring FullPathOf(const wchar_t* path);
