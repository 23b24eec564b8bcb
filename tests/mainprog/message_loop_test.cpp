// The main program's message loop: keys typed into controls of a plain window
// (as in the time table) reach them as characters.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "common/platform/message_loop.h"

namespace {

void Type(HWND target, WORD key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
}

}  // namespace

TEST(MainMessageLoop, TypedLettersAndDigitsReachComboAndDatePicker) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    HWND combo = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0,
                                 120, 100, frame, nullptr, nullptr, nullptr);
    for (const wchar_t* item : {L"Apple", L"Banana", L"Cherry"}) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    HWND picker = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 120, 150, 24, frame,
                                  nullptr, nullptr, nullptr);
    SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd"));
    SYSTEMTIME day{};
    day.wYear = 2030;
    day.wMonth = 1;
    day.wDay = 1;
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));

    SetFocus(combo);
    Type(combo, 'C');
    PostQuitMessage(0);
    RunMessageLoop();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);

    SetFocus(picker);
    // A click on the day selects it for typing.
    PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 12));
    PostMessageW(picker, WM_LBUTTONUP, 0, MAKELPARAM(6, 12));
    Type(picker, '2');
    Type(picker, '5');
    PostQuitMessage(0);
    RunMessageLoop();
    SYSTEMTIME picked{};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&picked));
    EXPECT_EQ(picked.wDay, 25);
    DestroyWindow(frame);
}
