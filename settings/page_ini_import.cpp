#include "settings/page_ini_import.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <cwctype>
#include <string>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/lock_failure.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "common/settings/settings_export.h"
#include "common/platform/text_bounds.h"
#include "settings/box_wait.h"
#include "settings/general_options_save.h"
#include "settings/main_dialog.h"
#include "settings/main_dialog_state.h"
#include "settings/program_links.h"
#include "settings/settings_tree.h"

namespace {

bool g_backupMade = false;
// The page whose address the main program has taken and not yet answered.
// Windows does not tell a window who sent it a message: a reply counts only
// as the one answer to this request.
HWND g_awaitingReply = nullptr;

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix) {
    for (; *prefix; ++prefix, ++text) {
        if (!*text || std::towlower(*text) != *prefix) return false;
    }
    return true;
}

// The INI page's node among the top-level nodes.
CTreeNode* FindIniNode() {
    SettingsTreeLink& t = TreeLink();
    CTreeNode* node = t.FirstClock();
    if (!node) return nullptr;
    for (CTreeNode* n = node; n; n = t.PreviousSibling(n)) {
        if (t.Kind(n) == kNodeIni) return n;
    }
    for (CTreeNode* n = node; n; n = t.NextSibling(n)) {
        if (t.Kind(n) == kNodeIni) return n;
    }
    return nullptr;
}

void ReloadAfterImport() {
    LoadAllSettings();
    AutostartOption() = ReadAutostart();
    // The next Apply writes the pages' variables back: they must be the
    // import's, not those read when the dialog opened.
    LoadPageModels();
    MainDialogState& s = DialogState();
    if (s.dialog && IsWindow(s.dialog)) {
        // The old nodes go with the rebuild; the page must not store into them.
        s.shownNode = nullptr;
        {
            UpdateGuard guard;
            BuildProgramTree(s.dialog);
        }
        if (CTreeNode* ini = FindIniNode()) SelectAndShow(ini);
    }
    SetImportUnconfirmed(true);
    NotifyMainProgram(MSG_SETTINGS_CHANGED, 0, 0, false);
}

AfterImportHook g_afterImport = ReloadAfterImport;

int DefaultBox(HWND owner, const wchar_t* text, const wchar_t* caption) {
    return MessageBoxW(owner, text, caption, MB_ICONERROR);
}
PathErrorBox g_box = DefaultBox;

LRESULT SendToMainProgram(WPARAM sender, const COPYDATASTRUCT* data) {
    return NotifyMainProgram(WM_COPYDATA, sender, reinterpret_cast<LPARAM>(data), true);
}
UrlImportSender g_sendUrl = SendToMainProgram;

}  // namespace

bool IsWebAddress(const wchar_t* text) {
    if (!text) return false;
    return StartsWithNoCase(text, L"http://") || StartsWithNoCase(text, L"https://");
}

std::wstring BackupPathOf(const std::wstring& iniPath) {
    if (iniPath.size() < 3) return iniPath + L"bak";
    return iniPath.substr(0, iniPath.size() - 3) + L"bak";
}

bool EnsureImportBackup() {
    const std::wstring& ini = UserIniPath();
    // Apply keeps an import and deletes its backup: the next import needs a new one.
    if (g_backupMade && GetFileAttributesW(BackupPathOf(ini).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    // The copy is of a whole file no other program is writing at the moment.
    IniFileLock lock;
    if (!lock.held() || !CopyFileW(ini.c_str(), BackupPathOf(ini).c_str(), FALSE)) return false;
    g_backupMade = true;
    return true;
}

void ForgetImportBackup() { g_backupMade = false; }

AfterImportHook SetAfterImportHook(AfterImportHook hook) {
    AfterImportHook old = g_afterImport;
    g_afterImport = hook ? hook : ReloadAfterImport;
    return old;
}

PathErrorBox SetPathErrorBox(PathErrorBox box) {
    PathErrorBox old = g_box;
    g_box = box ? box : DefaultBox;
    return old;
}

void ShowPathError(HWND owner, UINT formatString, const wchar_t* path) {
    const std::wstring format = Language().LoadUiString(formatString);
    const std::wstring caption = Language().LoadUiString(kImportErrorCaption);
    g_box(owner, FillTextValue(format, path).c_str(), caption.c_str());
}

void ShowLockError(HWND owner, UINT busyString, DWORD failure) {
    if (failure == WAIT_TIMEOUT) {
        ShowPathError(owner, busyString, UserIniPath().c_str());
        return;
    }
    const std::wstring caption = Language().LoadUiString(kImportErrorCaption);
    g_box(owner, LockFailureText(failure, kIniLockWaitMs).c_str(), caption.c_str());
}

bool ImportSettingsFile(HWND owner, const wchar_t* path) {
    // A file that is not taken leaves the last backup as it was.
    if (!IsSettingsExport(path)) {
        ShowPathError(owner, kImportErrorString, path);
        return false;
    }
    // One bounded wait for the backup, the import and the reading after it.
    IniFileLock lock;
    if (!lock.held()) {
        ShowLockError(owner, kImportBusyString, lock.failure());
        return false;
    }
    if (!EnsureImportBackup() || !ImportSettings(path)) {
        ShowPathError(owner, kImportErrorString, path);
        return false;
    }
    g_afterImport();
    return true;
}

bool ExportSettingsFile(HWND owner, const wchar_t* path) {
    // Taken here too, so that a busy file is said as such, not as a bad target.
    IniFileLock lock;
    if (!lock.held()) {
        ShowLockError(owner, IDS_EXPORT_FILE_BUSY, lock.failure());
        return false;
    }
    if (ExportSettings(path)) return true;
    ShowPathError(owner, kExportErrorString, path);
    return false;
}

void FillUrlImportBlock(const wchar_t* address, wchar_t (&block)[kUrlImportBlockBytes / sizeof(wchar_t)]) {
    std::fill(std::begin(block), std::end(block), L'\0');
    CopyBounded(block, ARRAYSIZE(block), address ? address : L"");
}

bool RequestUrlImport(HWND page, const wchar_t* address) {
    wchar_t block[kUrlImportBlockBytes / sizeof(wchar_t)];
    FillUrlImportBlock(address, block);
    COPYDATASTRUCT data = {COPYDATA_URL_IMPORT, static_cast<DWORD>(sizeof(block)), block};
    // The answer may come while the request is still being sent.
    g_awaitingReply = page;
    const bool taken = g_sendUrl(reinterpret_cast<WPARAM>(page), &data) != 0;
    if (!taken && g_awaitingReply == page) g_awaitingReply = nullptr;
    return taken;
}

UrlImportSender SetUrlImportSender(UrlImportSender send) {
    UrlImportSender old = g_sendUrl;
    g_sendUrl = send ? send : SendToMainProgram;
    return old;
}

void OnDownloadReply(HWND owner, WPARAM status) {
    if (!owner || owner != g_awaitingReply) return;
    // The import rebuilds the tree: not under a box whose code still holds its nodes.
    if (SettingsBoxOpen()) {
        PostWhenNoBoxOpen(owner, MSG_DOWNLOAD_REPLY, status, 0);
        return;
    }
    g_awaitingReply = nullptr;
    const std::wstring path = SettingsFolder() + kDownloadedIniName;
    if (status == kDownloadOk) {
        ImportSettingsFile(owner, path.c_str());
    } else {
        ShowPathError(owner, kImportErrorString, path.c_str());
    }
}
