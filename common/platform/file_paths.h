// Tests on files and folders, and where a skin keeps its analogue face.
#pragma once

#include <string>

bool FileExists(const wchar_t* path);       // exists and is not a folder
bool DirectoryExists(const wchar_t* path);  // exists and is a folder

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

// True when the skin's folder ("<program folder>skins\<name>\") holds
// "clkface.png", else "clkface.bmp": the clock then draws an analogue face.
// The face file found is stored in facePath when one is given.
bool GetSkinFacePath(const wchar_t* skinName, std::wstring* facePath = nullptr);
// The same below another program folder (given with its trailing backslash).
bool GetSkinFacePathIn(const std::wstring& programFolder, const wchar_t* skinName, std::wstring* facePath = nullptr);
