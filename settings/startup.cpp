#include "settings/startup.h"

#include <memory>

#include "common/graphics/faces/skin_manager.h"
#include "common/platform/windows_version.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_defaults.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_encoding.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/localisation.h"
#include "common/settings/lock_failure.h"
#include "common/platform/message_loop.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/file_paths.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_name_prefetch.h"
#include "common/zones/zone_updates.h"
#include "settings/frame_window.h"
#include "settings/map_install.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "settings/preview.h"
#include "settings/program_links.h"
#include "settings/settings_app.h"

namespace {

bool g_previewCreated = false;

// The start's one hold of the settings-file lock: from the encoding check to
// the loaded settings, one wait and one read of the file.
std::unique_ptr<IniFileLock> g_startHold;
ResourceMessageFn g_libraryMessage = nullptr;

// A box about the language library waits for the user: the other programs
// do not wait for it too.
void ShowAfterTheHold(HWND owner, HMODULE module, UINT textId, UINT captionId) {
    g_startHold.reset();
    if (g_libraryMessage) g_libraryMessage(owner, module, textId, captionId);
}

void LoadIcons() {
    g_settingsApp.classIcon = LoadIconW(g_settingsApp.instance, MAKEINTRESOURCEW(kClassIconId));
    g_settingsApp.pickerIcon = LoadIconW(g_settingsApp.instance, MAKEINTRESOURCEW(kPickerIconId));
    g_settingsApp.handCursor = LoadCursorW(nullptr, IDC_HAND);
}

enum class InstanceRule { kThisOne, kHandedOver, kGaveUp };

// The single-instance rule for starts that come together: the first takes
// the mutex, a later one hands its page over once the first has its window.
// A start that neither gets the mutex nor finds a window within the wait
// gives up (the mutex's failure says why).
InstanceRule BecomeTheInstance(NamedMutex& instanceMutex, const SettingsCommand& command) {
    constexpr DWORD kPollMs = 50;
    const DWORD start = GetTickCount();
    for (;;) {
        if (HandOverToRunningInstance(command)) return InstanceRule::kHandedOver;
        if (instanceMutex.Acquire(kPollMs)) break;
        if (GetTickCount() - start >= kInstanceWaitMs) return InstanceRule::kGaveUp;
    }
    // The window may have come up while the mutex was being taken.
    return HandOverToRunningInstance(command) ? InstanceRule::kHandedOver : InstanceRule::kThisOne;
}

int CleanUp(int code, bool classes) {
    g_startHold.reset();
    if (g_previewCreated) DestroyPreviewClock();
    g_previewCreated = false;
    UnloadMapPlugin();
    // The icons come from this module's resources: LoadIconW shares them, so
    // they are not destroyed; nor is the system's hand cursor.
    g_settingsApp.classIcon = nullptr;
    g_settingsApp.pickerIcon = nullptr;
    g_settingsApp.handCursor = nullptr;
    if (classes) UnregisterSettingsClasses(g_settingsApp.instance);
    FreeClockArray();
    FreeSettingsDataFiles();
    FreeResourceModule();
    return code;
}

// A start that cannot have a lock says why, in the user's language, and ends.
int GiveUp(DWORD failure, DWORD waitMs) {
    if (LoadResourceModule(g_settingsApp.programFolder.c_str())) ShowLockFailure(failure, waitMs);
    return CleanUp(kSettingsExitNormal, false);
}

}  // namespace

void InitProgramPaths(const std::wstring& folder) {
    std::wstring dir = folder.empty() ? ProgramFolder() : folder;
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    g_settingsApp.programFolder = dir;
    SetSettingsFolder(dir);
    Language().SetLanguageFolder(dir.c_str());
    g_settingsApp.mainProgramPath = dir + L"tempovia.exe";
}

int LoadSettingsDataFiles(const std::wstring& folder, const SYSTEMTIME& utc) {
    int loaded = 0;
    if (LoadZoneDatabase((folder + L"timezones.txt").c_str())) {
        ++loaded;
        // Dated changes are replacements for zones of the table.
        if (LoadZoneUpdates((folder + L"tz_changes.txt").c_str())) {
            ++loaded;
            if (g_zoneUpdates.count > 0) ZoneUpdatesDue(utc);
        }
    }
    if (LoadCityList((folder + L"cities.txt").c_str())) ++loaded;
    return loaded;
}

void FreeSettingsDataFiles() {
    FreeCityList();
    FreeZoneUpdates();
    FreeZoneTables();
}

int RunSettingsProgram(HINSTANCE instance, const wchar_t* commandLine, const std::wstring& folder) {
    g_settingsApp = SettingsApp();
    Language().SetLanguageFileBase(L"tempovia");
    g_settingsApp.instance = instance;
    g_settingsApp.windows51 = IsWindowsVersionAtLeast(5, 1);
    g_settingsApp.command = ParseSettingsCommandLine(commandLine);

    NamedMutex instanceMutex(kSettingsInstanceMutexName);
    switch (BecomeTheInstance(instanceMutex, g_settingsApp.command)) {
        case InstanceRule::kThisOne:
            break;
        case InstanceRule::kHandedOver:
            return kSettingsExitNormal;
        case InstanceRule::kGaveUp:
            InitProgramPaths(folder);
            return GiveUp(instanceMutex.failure(), kInstanceWaitMs);
    }
    // The zone names come from the registry while the steps before the zone table run.
    ZoneNamePrefetch zoneNames;

    InitProgramPaths(folder);
    if (g_settingsApp.command.install) {
        AddMissingUnicodeMark(UserIniPath().c_str());
        RunMapInstall(g_settingsApp.programFolder);
        return kSettingsExitNormal;
    }

    // The system zone's key name is not read here: nothing in this program
    // uses it, and finding it walks every zone key of the registry.
    // From the seeding to the filled tree, each section is read once.
    auto oneReadEach = std::make_unique<IniReadScope>();
    // The main program may be seeding the same file at this moment. One wait
    // for the whole start: the encoding check, the seeding and the load see
    // the file as one read of it.
    g_startHold = std::make_unique<IniFileLock>();
    if (!g_startHold->held()) {
        const DWORD failure = g_startHold->failure();
        g_startHold.reset();
        // The language is read from the file without the copies, which
        // would wait for the lock again.
        oneReadEach.reset();
        return GiveUp(failure, kIniLockWaitMs);
    }
    AddMissingUnicodeMark(UserIniPath().c_str());
    int clockSections = 0;
    InitUserSettings(UserPrefix(), clockSections);

    LoadIcons();
    g_libraryMessage = SetResourceMessageFn(ShowAfterTheHold);
    const bool library = LoadResourceModule(g_settingsApp.programFolder.c_str());
    SetResourceMessageFn(g_libraryMessage);
    if (!library) return CleanUp(kSettingsExitNormal, false);
    if (!RegisterSettingsClasses(instance)) return CleanUp(kSettingsExitNoClasses, false);
    LoadFrameStrings();

    SYSTEMTIME utc = {};
    GetSystemTime(&utc);
    LoadSettingsDataFiles(g_settingsApp.programFolder, utc);

    // Skins nobody uses stay loaded while the pages rebuild their previews.
    SkinManager().SetOwnsSkins(false);
    LoadAllSettings();
    g_startHold.reset();
    CreatePreviewClock(g_settings.skin);
    g_previewCreated = true;

    if (!CreateFrameWindow(instance)) {
        // A frame whose main dialog could not open ends the program normally.
        const int code = g_settingsApp.mainDialogFailed ? kSettingsExitNormal : kSettingsExitNoFrame;
        return CleanUp(code, true);
    }
    oneReadEach.reset();
    RunMessageLoop();
    return CleanUp(kSettingsExitNormal, true);
}
