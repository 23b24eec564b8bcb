#include "velmora/command_line.h"

#include <winsvc.h>

#include <cwchar>
#include <cwctype>
#include <string>

#include "common/platform/sync_service_notify.h"
#include "velmora/service_install.h"
#include "velmora/service_messages.h"
#include "velmora/service_platform.h"
#include "velmora/service_run.h"
#include "velmora/sync_codes.h"
#include "velmora/sync_engine.h"
#include "velmora/sync_settings.h"

namespace {

bool HasPrefix(const std::wstring& word, const wchar_t* name) {
    const size_t n = std::wcslen(name);
    return word.size() >= n && _wcsnicmp(word.c_str(), name, n) == 0;
}

int RunServiceMode() {
    InitSync();
    wchar_t name[32];
    std::wcsncpy(name, kSyncServiceName, 31);
    name[31] = 0;
    const SERVICE_TABLE_ENTRYW table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    Platform().RunDispatcher(table);
    CleanupSync();
    return kExitOk;
}

int RunSwitches(const ServiceSwitches& s);

}  // namespace

ServiceSwitches ParseServiceSwitches(const wchar_t* commandLine, bool* hasBlank) {
    ServiceSwitches s{ServiceAction::None, false, false, false, false, 0};
    const wchar_t* blank = commandLine ? std::wcschr(commandLine, L' ') : nullptr;
    if (hasBlank) *hasBlank = blank != nullptr;
    if (!blank) return s;
    for (const wchar_t* p = blank; *p;) {
        if (*p != L'/') {
            ++p;
            continue;
        }
        const wchar_t* end = p;
        while (*end && *end != L' ') ++end;
        const std::wstring word(p, end);
        p = end;
        ++s.count;
        if (HasPrefix(word, L"/install")) s.action = ServiceAction::Install;
        else if (HasPrefix(word, L"/auto")) s.action = ServiceAction::AutoInstall;
        else if (HasPrefix(word, L"/uninstall")) s.action = ServiceAction::Uninstall;
        else if (HasPrefix(word, L"/start")) s.start = true;
        else if (HasPrefix(word, L"/sync")) s.sync = true;
        else if (HasPrefix(word, L"/q")) s.quiet = true;
        else s.unknown = true;
    }
    return s;
}

int RunCommandLine(const wchar_t* commandLine) {
    bool hasBlank = false;
    const ServiceSwitches s = ParseServiceSwitches(commandLine, &hasBlank);
    if (!hasBlank || s.count == 0) return RunServiceMode();

    // A mistyped switch acts on nothing, not even on the switches beside it.
    if (s.unknown) {
        ShowServiceMessage(kMsgUsage, MB_ICONINFORMATION);
        return kExitUsage;
    }
    // One connection is held while the switches run: a Service Control
    // Manager may lose a service just created when the creating process's
    // last connection closes at once (seen with Wine's), and /install /start
    // must find the service it installed.
    const SC_HANDLE keepAlive = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const int code = RunSwitches(s);
    if (keepAlive) CloseServiceHandle(keepAlive);
    return code;
}

namespace {

int RunSwitches(const ServiceSwitches& s) {
    if (s.sync) {
        // Reading the settings and writing the result share one wait for the
        // settings-file lock: a file kept busy ends the run, never hangs it.
        const ULONGLONG lockDeadline = GetTickCount64() + kIniLockWaitMs;
        bool busy = false;
        const bool named = ReadSyncSettings(kIniLockWaitMs, &busy);
        if (busy) return kExitSyncFileBusy;
        if (!named || !InitSync()) return kExitSyncFailed;
        const int code = SyncOnce(kSyncTimeoutMs, lockDeadline);
        CleanupSync();
        if (code == kSyncFileBusy) return kExitSyncFileBusy;
    }
    if (s.action == ServiceAction::Uninstall) {
        return UninstallWithMessages(s.quiet) ? kExitOk : kExitRemoveFailed;
    }
    if (s.action == ServiceAction::Install || s.action == ServiceAction::AutoInstall) {
        if (!InstallWithMessages(s.quiet, s.action == ServiceAction::AutoInstall)) return kExitInstallFailed;
    }
    if (s.start && !StartWithMessages(s.quiet)) return kExitStartFailed;
    if (s.count > 1) return kExitOk;
    return RunServiceMode();
}

}  // namespace
