// Export and import of all of a user's settings as one INI file, with the
// user's sections under the "default" prefix.
#pragma once

// Writes the user's sections and the shared ones to a new UTF-16 file, with
// [default:main] description. Refuses tempovia.ini itself.
bool ExportSettings(const wchar_t* file);

// Copies a file written by ExportSettings into the user's profile. Refuses
// tempovia.ini itself and files without [default:main] description.
bool ImportSettings(const wchar_t* file);

// Copies tempovia.ini to `backup` under the settings-file lock, before an
// import replaces what the user has. True when the copy was made or there is
// no tempovia.ini yet.
bool BackUpUserSettings(const wchar_t* backup);
