// Export and import of all settings from the INI page: the backup of
// tempovia.ini before the first import of a run, web addresses handed to the
// main program to download, and what follows a successful import.
#pragma once

#include <windows.h>

#include <string>

#include "resources/resource_ids.h"

// Characters of the INI page's path or address that are used.
inline constexpr int kImportPathChars = 259;
// UI strings: the export and import error formats and their caption.
inline constexpr UINT kExportErrorString = IDS_EXPORT_FAILED;
inline constexpr UINT kImportErrorString = IDS_IMPORT_FAILED;
inline constexpr UINT kImportBusyString = IDS_IMPORT_FILE_BUSY;
inline constexpr UINT kImportErrorCaption = IDS_ERROR_CAPTION;
// What the main program saves a downloaded address to, in the program folder.
inline constexpr wchar_t kDownloadedIniName[] = L"downloaded.ini";
// Reply status of a download that worked.
inline constexpr WPARAM kDownloadOk = 200;

// "http://" or "https://" at the start, in any case.
bool IsWebAddress(const wchar_t* text);

// tempovia.ini with its last three characters replaced by "bak".
std::wstring BackupPathOf(const std::wstring& iniPath);
// Copies tempovia.ini over its backup, once per run; false when that copy
// failed (nothing may be imported then).
bool EnsureImportBackup();
// The next import makes a new backup again (a new run, for tests).
void ForgetImportBackup();

// What a successful import sets off: the settings are read again, the tree
// rebuilt with the INI page's node selected, and the main program told.
// Tests replace it.
using AfterImportHook = void (*)();
AfterImportHook SetAfterImportHook(AfterImportHook hook);

// Shows the error box of a path with the format of the UI string.
void ShowPathError(HWND owner, UINT formatString, const wchar_t* path);
// Shows why the settings-file lock was not had (its failure as IniFileLock
// gives it): a file kept busy by another program in the words of the UI
// string, which names tempovia.ini; a lock that could not be made as the
// programs' start says it.
void ShowLockError(HWND owner, UINT busyString, DWORD failure);
// The message box the page uses; tests record it.
using PathErrorBox = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption);
PathErrorBox SetPathErrorBox(PathErrorBox box);

// Backup, ImportSettings, then the follow-up, all under one hold of the
// settings-file lock; on failure the import error, or why the lock was not had.
bool ImportSettingsFile(HWND owner, const wchar_t* path);
// ExportSettings; on failure the export error.
bool ExportSettingsFile(HWND owner, const wchar_t* path);

// Hands the address to the main program (WM_COPYDATA COPYDATA_URL_IMPORT, a
// 520-byte block); it answers the page with MSG_DOWNLOAD_REPLY.
bool RequestUrlImport(HWND page, const wchar_t* address);
// How the request reaches the main program: NotifyMainProgram unless a test
// puts its own window in between. Answers the receiver's reply.
using UrlImportSender = LRESULT (*)(WPARAM sender, const COPYDATASTRUCT* data);
UrlImportSender SetUrlImportSender(UrlImportSender send);
// The block the request carries: the address, cut to fit, zero-filled.
inline constexpr size_t kUrlImportBlockBytes = 520;
void FillUrlImportBlock(const wchar_t* address, wchar_t (&block)[kUrlImportBlockBytes / sizeof(wchar_t)]);

// The main program's reply: 200 imports downloaded.ini from the program folder.
// Only the page's own pending request is answered, once; while a box of the
// program is open the reply waits for it to close.
void OnDownloadReply(HWND owner, WPARAM status);
