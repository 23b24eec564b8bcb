// WM_SETTINGCHANGE through the main window procedure: an open converter
// hears of it and follows the locale's switch to the 12-hour dial.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "common/records/clock_record.h"
#include "common/settings/ini_paths.h"
#include "common/settings/resource_module.h"
#include "common/settings/time_format.h"
#include "common/zones/local_zone.h"
#include "tempovia/main/main_window.h"
#include "tempovia/timetools/time_converter.h"
#include "tests/support/machine_zone.h"
#include "tests/support/program_folder.h"
#include "tests/support/user_locale.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

TEST(MainWindowSettingChange, OpenConverterTakesTheLocalesNewHourDial) {
    ASSERT_TRUE(LoadResourceModule(testing_support::BinFolder().c_str()));
    ClockRecord clock;
    std::memset(&clock, 0, sizeof clock);
    clock.enabled = 1;
    GetLocalZoneRecord(&clock.zone);
    testing_support::ClockTableAs table(&clock, 1);

    // The converter opens while the locale writes 24-hour times.
    {
        testing_support::LocaleTimePicture twentyFour(L"HH:mm:ss");
        ASSERT_NE(ShowTimeConverterDialog(nullptr), nullptr);
        EXPECT_TRUE(CurrentLocaleTimeFormat().is24Hour);
    }

    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const LONG_PTR own = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc));
    {
        testing_support::TwelveHourLocale twelve;
        ASSERT_TRUE(twelve.ok());
        SendMessageW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
        Pump();
        EXPECT_FALSE(CurrentLocaleTimeFormat().is24Hour) << "the converter did not read the locale again";
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, own);
    DestroyWindow(window);
    CloseTimeConverter();
    Pump();
    ReadLocaleTimeFormat();
    FreeResourceModule();
    SetSettingsFolder(L"");
}
