#include "tempovia/news/rss_model.h"
#include "tempovia/main/startup.h"

#include <commctrl.h>
#include <objbase.h>

#include <optional>
#include <string>

#include "common/graphics/small_icon.h"
#include "common/records/global_settings.h"
#include "common/settings/ini_encoding.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/settings/lock_failure.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/settings/settings_export.h"
#include "common/platform/windows_version.h"
#include "common/records/clock_table.h"
#include "common/zones/zone_name_prefetch.h"
#include "common/taskbar/hook_exports.h"
#include "tempovia/main/app_state.h"
#include "common/platform/build_date.h"
#include "tempovia/main/command_line.h"
#include "tempovia/main/data_services.h"
#include "tempovia/main/exit_save.h"
#include "common/platform/security_utils.h"
#include "tempovia/main/main_window.h"
#include "common/platform/message_loop.h"
#include "tempovia/main/missing_zones.h"
#include "tempovia/main/module_links.h"
#include "tempovia/main/tray_protocol.h"
#include "tempovia/main/watch_threads.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/news/rss_download.h"
#include "tempovia/panels/timer_panel_owner.h"
#include "tempovia/photos/photo_service.h"
#include "tempovia/util/main_paths.h"
#include "tempovia/util/worker_threads.h"
#include "tempovia/window/window.h"
#include "tempovia/main/program_resource_ids.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kProgramIconId = IDI_PROGRAM;
constexpr DWORD kCommonControlClasses = 0x30D;
constexpr UINT kDataFileErrorText = IDS_DATA_FILES_MISSING;
constexpr UINT kDataFileErrorCaption = IDS_ERROR_CAPTION;
// tempovia.ini.bak: the settings before the last import from the command line.
constexpr wchar_t kImportBackupSuffix[] = L".bak";

void RunImport(const char* position) {
    if (!position) return;
    wchar_t path[kImportPathMax + 1] = {};
    MultiByteToWide(position, path, kImportPathMax + 1);
    // The user's settings before the import stay beside them; without that
    // copy nothing is imported, and a file that is not taken leaves the last
    // copy as it was. One hold for both: a write between them would be in
    // the file but not in the backup.
    const std::wstring backup = UserIniPath() + kImportBackupSuffix;
    IniFileLock lock;
    if (path[0] && lock.held() && IsSettingsExport(path) && BackUpUserSettings(backup.c_str())) ImportSettings(path);
}

void RunExport(const char* position) {
    if (!position) return;
    wchar_t path[kExportPathMax + 1] = {};
    MultiByteToWide(position, path, kExportPathMax + 1);
    if (path[0]) ExportSettings(path);
}

void ShowDataFileError() {
    const std::wstring text = Language().LoadUiString(kDataFileErrorText);
    const std::wstring caption = Language().LoadUiString(kDataFileErrorCaption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR);
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = g_app.icon;
    wc.hIconSm = SharedSmallIcon(instance, kProgramIconId);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&wc) != 0;
}

// How long a start may wait for the instance rule: a restart waits for the
// instance it closed as long as that may take, the close and its exit tail.
DWORD InstanceWaitMs(const CommandLineOptions& options) {
    if (!options.restartRequested) return 0;
    const DWORD elapsed = GetTickCount() - g_app.startTick;
    return elapsed < kInstanceEndWaitMs ? kInstanceEndWaitMs - elapsed : 0;
}

// Every worker is asked to give up its download and end, so that nothing it
// uses goes away under it; one held up beyond the bound (a name lookup does
// not see the stop) keeps what it uses to the end of the process. False then.
bool StopWorkers() {
    const DWORD start = GetTickCount();
    auto left = [start] {
        const DWORD used = GetTickCount() - start;
        return used < kExitWorkersWaitMs ? kExitWorkersWaitMs - used : 0;
    };
    // All are told first: a wait for one kind is then a wait for all.
    WorkerThreads::TellAllToStop();
    const bool newsEnded = StopRssDownloads(left());
    const bool importsEnded = StopUrlImports(left());
    const bool photosEnded = WaitForPhotoWorkers(left());
    return newsEnded && importsEnded && photosEnded;
}

int CleanUp(int code, bool freeData = true) {
    if (freeData) FreeDataFiles();
    RSS::SetOleReady(false);
    if (g_app.oleInitialised) OleUninitialize();
    g_app.oleInitialised = false;
    if (g_app.icon) DestroyIcon(g_app.icon);
    // The hand cursor is a shared system cursor: it is not destroyed.
    g_app.icon = nullptr;
    g_app.handCursor = nullptr;
    if (g_app.exitEvent) CloseHandle(g_app.exitEvent);
    g_app.exitEvent = nullptr;
    return code;
}

// What a start that gives up on a lock was asked for and did not do, said
// before the reason: a restart has already closed the instance it replaces,
// and no file switch has run.
std::wstring SwitchNotDone(const CommandLineOptions& options) {
    std::wstring lead;
    if (options.restartRequested) lead = Language().LoadUiString(IDS_LOCK_LEAD_RESTART);
    if (options.importArg || options.exportArg)
        lead += (lead.empty() ? L"" : L" ") + Language().LoadUiString(IDS_LOCK_LEAD_FILES);
    return lead;
}

// The instance mutex could not be made: the language library is loaded for
// the message (this start has not loaded it yet).
void ReportLockFailure(DWORD failure, DWORD waitMs, const CommandLineOptions& options) {
    ResetSettingsFolder();
    Language().SetLanguageFileBase(L"tempovia");
    if (LoadResourceModule(SettingsFolder().c_str())) ShowLockFailure(failure, waitMs, SwitchNotDone(options));
}

// `/exit` returns once the closed instance has ended (given back its mutex),
// within the time its end may take; 0 then, else 3. An installer or a script
// runs it: the reason goes to the debugger output, never into a box.
int WaitForInstanceEnd() {
    NamedMutex instanceMutex(kMainInstanceMutexName);
    const DWORD elapsed = GetTickCount() - g_app.startTick;
    const DWORD wait = elapsed < kInstanceEndWaitMs ? kInstanceEndWaitMs - elapsed : 0;
    if (instanceMutex.Acquire(wait)) return kExitNormal;
    const DWORD failure = instanceMutex.failure();
    const std::wstring reason =
        failure == WAIT_TIMEOUT
            ? L"Tempovia /exit: the running instance did not end within " + std::to_wstring(kInstanceEndWaitMs / 1000) +
                  L" seconds.\n"
            : L"Tempovia /exit: the instance rule cannot be opened (error " + std::to_wstring(failure) + L").\n";
    OutputDebugStringW(reason.c_str());
    return kExitAlreadyRunning;
}

}  // namespace

void CloseRunningInstance(HANDLE exitEvent, DWORD startTick) {
    HWND other = FindWindowW(kMainWindowClass, nullptr);
    if (other) PostMessageW(other, WM_CLOSE, 0, 0);
    if (exitEvent) SetEvent(exitEvent);
    for (;;) {
        Sleep(kCloseOtherPollMs);
        if (!other || !IsWindow(other)) break;
        if (GetTickCount() - startTick >= kCloseOtherTimeoutMs) break;
    }
}

int RunMainProgram(HINSTANCE instance, const char* commandLine) {
    g_app.instance = instance;
    g_app.startTick = GetTickCount();
    g_app.windows51 = IsWindowsVersionAtLeast(5, 1);
    GetBuildDate(g_settings.buildDate);

    CommandLineOptions options;
    ParseCommandLine(commandLine, options);
    g_app.noHook = options.noHook;
    CopyBounded(g_app.settingsSwitch, options.settingsSwitch);

    g_app.exitEvent = CreateEventW(nullptr, TRUE, FALSE, kExitEventName);
    if (g_app.exitEvent) GrantEveryoneAccess(g_app.exitEvent, kExitEventAccess, nullptr);

    if (options.exitRequested || options.restartRequested) {
        CloseRunningInstance(g_app.exitEvent, g_app.startTick);
        if (options.exitRequested) return CleanUp(WaitForInstanceEnd());
    }
    // Held for the whole run: a second start sees it before the first has
    // read, written or created anything.
    NamedMutex instanceMutex(kMainInstanceMutexName);
    if (!instanceMutex.Acquire(InstanceWaitMs(options)) || FindWindowW(kMainWindowClass, nullptr)) {
        // A running instance keeps it: that is the rule. A mutex that cannot
        // be made at all is said.
        if (!instanceMutex.held() && instanceMutex.failure() != WAIT_TIMEOUT) {
            ReportLockFailure(instanceMutex.failure(), InstanceWaitMs(options), options);
        }
        return CleanUp(kExitAlreadyRunning);
    }
    // The zone names come from the registry while the steps before the zone table run.
    ZoneNamePrefetch zoneNames;

    if (g_app.exitEvent) ResetEvent(g_app.exitEvent);
    g_app.icon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId));
    g_app.handCursor = LoadCursorW(nullptr, IDC_HAND);
    ResetSettingsFolder();
    CopyBounded(g_settings.programFolder, SettingsFolder().c_str());
    // Every load and save of the settings needs the settings-file lock. One
    // wait covers the first steps that mend or read the file: a start that
    // cannot have it waits once, then says so rather than run without.
    std::optional<IniFileLock> startLock;
    startLock.emplace();
    AddMissingUnicodeMark(UserIniPath().c_str());

    Language().SetLanguageFileBase(L"tempovia");
    // The taskbar clock restarts the program with this command line.
    SetSharedStrings(g_settings.programFolder, WithoutFileSwitches(commandLine).c_str());

    if (!LoadResourceModule(g_settings.programFolder)) {
        startLock.reset();  // no other program waits for a click
        MessageBoxW(nullptr, L"Cannot load resource DLL!", L"Tempovia Error", MB_ICONERROR);
        return CleanUp(kExitNoResources);
    }
    InitFilePaths();
    if (!startLock->held()) {
        ShowLockFailure(startLock->failure(), kIniLockWaitMs, SwitchNotDone(options));
        return CleanUp(kExitAlreadyRunning);
    }
    SaveStateKeptAtExit();
    startLock.reset();

    RunImport(options.importArg);
    RunExport(options.exportArg);

    g_app.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    RSS::SetOleReady(g_app.oleInitialised);
    INITCOMMONCONTROLSEX icc = {sizeof icc, kCommonControlClasses};
    InitCommonControlsEx(&icc);

    RegisterWindowClasses(instance);
    if (!LoadDataFiles(g_settings.programFolder)) {
        ShowDataFileError();
        return CleanUp(kExitNormal);
    }
    if (!RegisterMainClass(instance)) return CleanUp(kExitNormal);
    LinkProgramModules();
    panels::CreateTimerPanel();
    g_app.mainWindow = CreateWindowExW(0, kMainWindowClass, L"", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (g_app.exitEvent) StartExitEventThread();
    bool workersEnded = true;
    if (g_app.mainWindow) {
        desktop::ApplyDesktopClockOrder(true);
        ReportClocksWithoutZone();
        RunMessageLoop();
        g_app.mainWindow = nullptr;
        workersEnded = StopWorkers();
        UnregisterClassW(kMainWindowClass, instance);
    }
    panels::ReleaseTimerPanel();
    // Nothing a new instance could meet is left: a restart goes on while
    // this one lets go of OLE and its tables.
    instanceMutex.Release();
    return CleanUp(kExitNormal, workersEnded);
}
