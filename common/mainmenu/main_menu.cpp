#include "common/mainmenu/main_menu.h"

#include <cwchar>
#include <iterator>
#include <string>

#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_rules.h"
#include "common/zones/zone_time.h"
#include "common/mainmenu/menu_ids.h"
#include "common/mainmenu/menu_translate.h"

namespace {

constexpr int kItemTextChars = 260;

void Remove(HMENU menu, UINT id) { RemoveMenu(menu, id, MF_BYCOMMAND); }

void Enable(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool SetId(HMENU menu, UINT id, UINT newId) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    info.wID = newId;
    return SetMenuItemInfoW(menu, id, FALSE, &info) != FALSE;
}

// Entry text of a list item that has no text of its own: the kind's word and
// its number.
std::wstring Numbered(UINT wordId, int number) {
    std::wstring word = Language().LoadUiString(wordId);
    if (!word.empty()) word += L' ';
    return word + std::to_wstring(number);
}

// Hangs a submenu on the item; the item loses its command (id -1).
void AttachSubmenu(HMENU menu, UINT id, HMENU submenu) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU | MIIM_ID;
    info.hSubMenu = submenu;
    info.wID = static_cast<UINT>(-1);
    if (!SetMenuItemInfoW(menu, id, FALSE, &info)) DestroyMenu(submenu);
}

void AttachAlarms(HMENU menu, const ClockRecord& clock) {
    if (!clock.alarms || clock.alarmCount <= 0) return;
    HMENU list = CreatePopupMenu();
    if (!list) return;
    const int count = clock.alarmCount < kMenuAlarmsMax ? clock.alarmCount : kMenuAlarmsMax;
    for (int i = 0; i < count; ++i) {
        wchar_t text[kItemTextChars] = {};
        std::swprintf(text, kItemTextChars, L"%.*ls", static_cast<int>(std::size(clock.alarms[i].comment)),
                      clock.alarms[i].comment);
        const std::wstring entry = text[0] ? std::wstring(text) : Numbered(IDS_NEW_ALARM, i + 1);
        AppendMenuW(list, MF_STRING, kCmdAlarmFirst + static_cast<UINT>(i), entry.c_str());
    }
    AttachSubmenu(menu, kCmdPageAlarms, list);
}

void AttachProfiles(HMENU menu, const ClockRecord& clock) {
    if (clock.profileCount <= 0) return;
    HMENU list = CreatePopupMenu();
    if (!list) return;
    const int count = clock.profileCount < kMenuProfilesMax ? clock.profileCount : kMenuProfilesMax;
    for (int i = 0; i < count; ++i) {
        wchar_t text[kItemTextChars] = {};
        std::swprintf(text, kItemTextChars, L"%.*ls", static_cast<int>(std::size(clock.profiles[i].name)),
                      clock.profiles[i].name);
        const std::wstring entry = text[0] ? std::wstring(text) : Numbered(IDS_NEW_BACKGROUND, i + 1);
        AppendMenuW(list, MF_STRING, kCmdProfileFirst + static_cast<UINT>(i), entry.c_str());
    }
    AttachSubmenu(menu, kCmdPageProfiles, list);
}

// Without a clock the first entry (the clock's pages) opens the settings as
// a whole instead.
void FirstItemToSettings(HMENU popup) {
    wchar_t text[kItemTextChars] = {};
    GetMenuStringW(popup, 0, text, kItemTextChars, MF_BYPOSITION);
    DeleteMenu(popup, 0, MF_BYPOSITION);
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, kCmdSettings, text);
}

}  // namespace

bool CanBecomeSystemZone(const ClockRecord& clock) {
    return !IsLocalZoneKey(clock.zone) && !IsSystemZone(clock) && HasValidDstRule(clock.zone);
}

HMENU LoadMainMenu(HMODULE resources) {
    if (!resources) return nullptr;
    return LoadMenuW(resources, MAKEINTRESOURCEW(kMainMenuId));
}

bool PrepareMainMenu(HMENU menu, const MenuRequest& request, const LanguageStrings* language) {
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup) return false;
    if (language) TranslateMenu(*language, popup, kMainMenuSection);

    const ClockRecord* clock = request.clock;
    Enable(popup, kCmdNewAlarm, clock != nullptr);
    for (UINT id : {kCmdNewClock, kCmdNewTimer, kCmdNewStopwatch}) Enable(popup, id, request.newClockAllowed);

    if (!request.setLocalInMenu || !clock || IsTimerClock(*clock)) {
        Remove(popup, kCmdSetSystemZone);
    } else {
        Enable(popup, kCmdSetSystemZone, request.clockIndexValid && CanBecomeSystemZone(*clock));
    }

    Enable(popup, kCmdWorldMap, request.mapInitialised);

    const bool onDesktop = clock && clock->on_desktop;
    if (onDesktop) {
        CheckMenuItem(popup, kCmdGroup, MF_BYCOMMAND | (request.group ? MF_CHECKED : MF_UNCHECKED));
        CheckMenuItem(popup, kCmdOnTop, MF_BYCOMMAND | (request.onTop ? MF_CHECKED : MF_UNCHECKED));
    } else {
        Remove(popup, kCmdGroup);
        Remove(popup, kCmdOnTop);
    }
    if (!clock || onDesktop) Remove(popup, kCmdShowOnDesktop);
    if (onDesktop) {
        SetId(popup, kCmdMoveToTaskbar, kCmdShowOnDesktop);
        Enable(popup, kCmdShowOnDesktop, request.hookInstalled);
    } else {
        Remove(popup, kCmdMoveToTaskbar);
    }

    Remove(popup, kCmdRefreshNews);

    if (!clock) {
        FirstItemToSettings(popup);
    } else {
        // A clock in the taskbar draws with the taskbar's skin.
        if (!onDesktop) SetId(popup, kCmdPageSkin, kCmdPageTaskbar);
        AttachAlarms(popup, *clock);
        AttachProfiles(popup, *clock);
    }
    return true;
}

HMENU BuildMainPopup(HMODULE resources, const MenuRequest& request, const LanguageStrings* language) {
    HMENU menu = LoadMainMenu(resources);
    if (!menu) return nullptr;
    HMENU popup = nullptr;
    if (PrepareMainMenu(menu, request, language)) {
        popup = GetSubMenu(menu, 0);
        // Detached, the submenu outlives the menu bar it came in.
        RemoveMenu(menu, 0, MF_BYPOSITION);
    }
    DestroyMenu(menu);
    return popup;
}
