// Copying whole profiles between INI files, renaming the user part of the
// section names on the way; the ground of settings export and import.
#pragma once

#include <string>

// Copies every section of sourceFile whose name has no ":" (shared sections)
// or whose part before the first ":" is exactly sourcePrefix (compared without
// regard to case; an empty prefix stands for an empty part only) into
// targetFile, under targetPrefix (when given) plus the part from ":" on. Clock
// sections outside 1..30 are skipped. Afterwards the target loses the clocks
// and alarms behind the last ones copied. False when a file name is missing,
// both name the same file, or a section could not be written.
bool CopyIniSections(const wchar_t* sourceFile, const wchar_t* sourcePrefix, const wchar_t* targetFile,
                     const wchar_t* targetPrefix);

// True when both paths lead to the same file: the same file on disk when both
// exist, else the same full path (without regard to case).
bool IsSameFile(const wchar_t* a, const wchar_t* b);
