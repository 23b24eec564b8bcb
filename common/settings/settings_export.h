// Export and import of all of a user's settings as one INI file, with the
// user's sections under the "default" prefix.
#pragma once

// Writes the user's sections and the shared ones to a new UTF-16 file, with
// [default:main] description. Refuses the programs' own files however they
// are spelt: tempovia.ini, every file in the program folder, and a settings
// file that is not there yet.
bool ExportSettings(const wchar_t* file);

// Whether the file is one ImportSettings takes: not tempovia.ini itself, and
// with [default:main] description. Asked before a backup is made for the
// import, so that a refused one leaves the last backup as it was.
bool IsSettingsExport(const wchar_t* file);

// Copies a file written by ExportSettings into the user's profile. Refuses
// what IsSettingsExport refuses.
bool ImportSettings(const wchar_t* file);

// Copies tempovia.ini to `backup` under the settings-file lock, before an
// import replaces what the user has. True when the copy was made or there is
// no tempovia.ini yet.
bool BackUpUserSettings(const wchar_t* backup);
