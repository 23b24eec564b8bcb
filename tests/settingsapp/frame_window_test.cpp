// The frame window QX_SETTINGS driven by its messages, with a stand-in main
// dialog holding the program's settings tree: hand-over of pages, relayed
// messages, the language change, the location picker's end, the menu commands
// and the frame's end.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "common/records/clock_record.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/alarms/alarm_log.h"
#include "settings/frame_window.h"
#include "settings/preview.h"
#include "settings/preview_state.h"
#include "settings/settings_app.h"
#include "settings/settings_tree.h"
#include "tests/support/program_folder.h"
#include "tests/settingsapp/fake_dialogs.h"
#include "tests/support/test_support.h"

using namespace settingsapp_test;

namespace {

struct Counters {
    int created = 0;
    HWND nested = nullptr;
} g_count;

HWND FakeCreate(HWND frame, HMODULE resources) {
    if (!resources) return nullptr;
    ++g_count.created;
    HWND dialog = CreateTemplateDialog(frame, WS_POPUP | WS_CAPTION, RecordingDialogProc);
    if (!dialog) return nullptr;
    CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, dialog,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSettingsTreeId)), GetModuleHandleW(nullptr), nullptr);
    // A page: a child dialog of the main dialog.
    g_count.nested = CreateTemplateDialog(dialog, WS_CHILD, RecordingDialogProc);
    return dialog;
}

HWND FailingCreate(HWND, HMODULE) {
    ++g_count.created;
    return nullptr;
}

bool QuitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        g_count = Counters();
        ClearLogs();
        g_settingsApp = SettingsApp();
        ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(), dir_.file(L"res_en.dll").c_str(),
                              FALSE));
        Language().SetLanguageFileBase(L"tempovia");
        ASSERT_TRUE(LoadResourceModule((dir_.path() + L"\\").c_str()));
        // The tree reads the clocks of an INI that has none.
        SetSettingsFolder(dir_.path() + L"\\");
        old_ = SetMainDialogOpener(FakeCreate);
        instance_ = GetModuleHandleW(nullptr);
        ASSERT_TRUE(RegisterSettingsClasses(instance_));
    }
    void TearDown() override {
        if (g_settingsApp.frame && IsWindow(g_settingsApp.frame)) DestroyWindow(g_settingsApp.frame);
        QuitPosted();
        UnregisterSettingsClasses(instance_);
        SetMainDialogOpener(old_);
        ResetSettingsFolder();
        FreeResourceModule();
        g_settingsApp = SettingsApp();
    }
    HWND Open() {
        lstrcpynW(g_settingsApp.frameCaption, L"before", kFrameTextChars);
        return CreateFrameWindow(instance_);
    }

    testing_support::TempDir dir_;
    MainDialogOpener old_ = nullptr;
    HINSTANCE instance_ = nullptr;
};

TEST_F(Frame, CreationOpensTheDialogSelectsTheFirstRootAndHidesTheFrame) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(g_settingsApp.frame, frame);
    EXPECT_FALSE(IsWindowVisible(frame));
    wchar_t cls[32] = {};
    GetClassNameW(frame, cls, 32);
    EXPECT_STREQ(cls, L"QX_SETTINGS");
    EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), frame);
    HWND dialog = g_settingsApp.mainDialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    // The settings tree's five option nodes, in the dialog's control.
    EXPECT_EQ(TheSettingsTree().top.size(), 5u);
    HWND tree = GetDlgItem(dialog, kSettingsTreeId);
    EXPECT_EQ(TreeView_GetCount(tree), 5u);
    HTREEITEM root = TreeView_GetRoot(tree);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_FALSE(g_settingsApp.mainDialogFailed);
}

TEST_F(Frame, PagesAreHandedToTheDialogAndPageZeroIsIgnored) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    HWND dialog = g_settingsApp.mainDialog;
    EXPECT_EQ(SendMessageW(frame, SETTINGS_MSG_OPEN_PAGE, 0, 0x00030002), 0);
    EXPECT_TRUE(Log(dialog).empty());
    SendMessageW(frame, SETTINGS_MSG_OPEN_PAGE, SETTINGS_PAGE_ALARM, 0x00030002);
    ASSERT_EQ(Log(dialog).size(), 1u);
    EXPECT_EQ(Log(dialog)[0].message, SETTINGS_MSG_SELECT_PAGE);
    EXPECT_EQ(Log(dialog)[0].wParam, SETTINGS_PAGE_ALARM);
    EXPECT_EQ(Log(dialog)[0].lParam, 0x00030002);
}

TEST_F(Frame, RelayedMessagesReachTheDialogUnchanged) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    HWND dialog = g_settingsApp.mainDialog;
    Preview().refresh = false;
    EXPECT_EQ(SendMessageW(frame, SETTINGS_MSG_ON_DESKTOP, 4, 1), kOnDesktopReply);
    EXPECT_EQ(SendMessageW(frame, SETTINGS_MSG_RESERVED_4, 9, 9), 0);
    SendMessageW(frame, SETTINGS_MSG_RESERVED_6, 6, 60);
    SendMessageW(frame, MSG_SYNC_STATE, 1, 2);
    SendMessageW(frame, MSG_CLOUDS_CHANGED, 0, 1);
    SendMessageW(frame, WM_WININICHANGE, 0, 0);
    const auto& log = Log(dialog);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].message, SETTINGS_MSG_ON_DESKTOP);
    EXPECT_EQ(log[0].wParam, 4u);
    EXPECT_EQ(log[0].lParam, 1);
    EXPECT_EQ(log[1].message, SETTINGS_MSG_RESERVED_6);
    EXPECT_EQ(log[1].lParam, 60);
    EXPECT_EQ(log[2].message, MSG_SYNC_STATE);
    EXPECT_EQ(log[3].message, MSG_CLOUDS_CHANGED);
    EXPECT_EQ(log[3].lParam, 1);
    EXPECT_EQ(log[4].message, static_cast<UINT>(WM_WININICHANGE));
    // The previews take the taskbar's look afresh.
    EXPECT_TRUE(Preview().refresh);
    // The library stays loaded through the rebinding.
    EXPECT_NE(ResourceModule(), nullptr);
}

TEST_F(Frame, WithoutADialogRelayedMessagesAnswerZero) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    DestroyWindow(g_settingsApp.mainDialog);
    EXPECT_EQ(SendMessageW(frame, SETTINGS_MSG_ON_DESKTOP, 4, 1), 0);
    EXPECT_EQ(SendMessageW(frame, SETTINGS_MSG_OPEN_PAGE, SETTINGS_PAGE_GENERAL, 0), 0);
    EXPECT_TRUE(IsWindow(frame));
}

TEST_F(Frame, LanguageChangeRetitlesTheFrameAndTellsEveryDialog) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    HWND dialog = g_settingsApp.mainDialog;
    ASSERT_NE(g_count.nested, nullptr);
    HWND log = CreateAlarmLogWindow();
    ASSERT_NE(log, nullptr);
    SetWindowTextW(log, L"before");
    SendMessageW(frame, MSG_LANGUAGE_CHANGED, 0, 0);
    const std::wstring caption = Language().LoadUiString(kFrameCaptionId);
    ASSERT_FALSE(caption.empty());
    wchar_t text[128] = {};
    GetWindowTextW(frame, text, 128);
    EXPECT_EQ(caption, text);
    EXPECT_EQ(Language().LoadUiString(kEmptyTrayPreviewId), g_settingsApp.emptyTrayText);
    EXPECT_NE(g_settingsApp.emptyTrayText[0], L'\0');
    ASSERT_EQ(Log(dialog).size(), 1u);
    EXPECT_EQ(Log(dialog)[0].message, MSG_LANGUAGE_CHANGED);
    ASSERT_EQ(Log(g_count.nested).size(), 1u);
    EXPECT_EQ(Log(g_count.nested)[0].message, MSG_LANGUAGE_CHANGED);
    // The alarm log is a window of its own, retitled in the new language.
    GetWindowTextW(log, text, 128);
    EXPECT_EQ(Language().LoadUiString(kLogTitleStringId), text);
    DestroyAlarmWindows();
}

HWND g_frameForPicker = nullptr;

INT_PTR CALLBACK PickerProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        g_settingsApp.picker = dialog;
        // The main program's exit closes the frame, and another start asks
        // for the front, while the picker is open.
        PostMessageW(g_frameForPicker, WM_CLOSE, 0, 0);
        PostMessageW(g_frameForPicker, SETTINGS_MSG_END_MODAL, 0, 0);
        return TRUE;
    }
    return FALSE;
}

TEST_F(Frame, EndModalEndsTheOpenLocationPickerWith16) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    g_frameForPicker = frame;
    EXPECT_EQ(RunTemplateDialog(g_settingsApp.mainDialog, PickerProc), kPickerEndedResult);
    // With no picker open it does nothing.
    g_settingsApp.picker = nullptr;
    EXPECT_EQ(SendMessageW(frame, SETTINGS_MSG_END_MODAL, 0, 0), 0);
    EXPECT_TRUE(IsWindow(g_settingsApp.mainDialog));
    // The close waited for the picker to end, and comes now.
    for (int i = 0; i < 100 && IsWindow(frame); ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
    EXPECT_FALSE(IsWindow(frame));
}

TEST_F(Frame, SettingsCommandReopensAClosedDialogOnlyAndExitDestroysTheFrame) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    HWND first = g_settingsApp.mainDialog;
    SendMessageW(frame, WM_COMMAND, CMD_SETTINGS_MENU, 0);
    EXPECT_EQ(g_count.created, 1);
    EXPECT_EQ(g_settingsApp.mainDialog, first);
    DestroyWindow(first);
    DestroyProgramTree();
    SendMessageW(frame, WM_COMMAND, CMD_SETTINGS_MENU, 0);
    EXPECT_EQ(g_count.created, 2);
    EXPECT_TRUE(IsWindow(g_settingsApp.mainDialog));
    // The tree was built again for the new dialog.
    EXPECT_EQ(TheSettingsTree().top.size(), 5u);
    EXPECT_FALSE(QuitPosted());
    SendMessageW(frame, WM_COMMAND, CMD_QUIT_MENU, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(QuitPosted());
}

TEST_F(Frame, CloseDestroysDialogTreeAndPreviewAndEndsTheLoop) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    HWND dialog = g_settingsApp.mainDialog;
    ClockRecord clock = {};
    clock.enabled = 1;
    LoadTrayPreview(&clock, 1);
    ASSERT_FALSE(Preview().panelRecords.empty());
    SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(g_settingsApp.frame, nullptr);
    EXPECT_EQ(g_settingsApp.mainDialog, nullptr);
    EXPECT_TRUE(TheSettingsTree().top.empty());
    EXPECT_EQ(TheSettingsTree().control, nullptr);
    EXPECT_TRUE(Preview().panelRecords.empty());
    EXPECT_EQ(TrayPreviewCount(), 0);
    EXPECT_TRUE(QuitPosted());
}

TEST_F(Frame, ADialogThatCannotOpenLeavesNoFrameAndNoQuit) {
    SetMainDialogOpener(FailingCreate);
    EXPECT_EQ(Open(), nullptr);
    EXPECT_TRUE(g_settingsApp.mainDialogFailed);
    EXPECT_EQ(g_count.created, 1);
    EXPECT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr);
    EXPECT_FALSE(QuitPosted());
}

TEST_F(Frame, WithoutTheLibraryNothingOpens) {
    FreeResourceModule();
    EXPECT_EQ(Open(), nullptr);
    EXPECT_TRUE(g_settingsApp.mainDialogFailed);
    EXPECT_EQ(g_count.created, 0);
}

TEST_F(Frame, OnlyTimer1FollowsTheClock) {
    HWND frame = Open();
    ASSERT_NE(frame, nullptr);
    FrameTickState() = ClockTickState();
    SendMessageW(frame, WM_TIMER, 2, 0);
    EXPECT_EQ(FrameTickState().dayKey, -1);
    SYSTEMTIME before = {};
    GetSystemTime(&before);
    SendMessageW(frame, WM_TIMER, kFrameTimerId, 0);
    SYSTEMTIME after = {};
    GetSystemTime(&after);
    const int32_t low = before.wYear * 512 + before.wMonth * 32 + before.wDay - 33;
    const int32_t high = after.wYear * 512 + after.wMonth * 32 + after.wDay - 33;
    EXPECT_GE(FrameTickState().dayKey, low);
    EXPECT_LE(FrameTickState().dayKey, high);
    EXPECT_GE(FrameTickState().year, before.wYear);
}

TEST_F(Frame, ClassesCannotBeRegisteredTwice) {
    EXPECT_FALSE(RegisterSettingsClasses(instance_));
    // The failed attempt left the first registration alone.
    HWND frame = Open();
    EXPECT_NE(frame, nullptr);
}

}  // namespace
