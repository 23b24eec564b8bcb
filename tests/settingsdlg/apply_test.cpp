// OK, Apply and Cancel: what reaches tempovia.ini and the main program, in
// which order, and the undoing of an import.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/settings/ini_paths.h"
#include "common/records/protocol.h"
#include "settings/main_dialog.h"
#include "settings/page_ini_import.h"
#include "tests/settingsdlg/dialog_fixture.h"
#include "tests/support/cutting_writer.h"

namespace settingsdlg_test {
namespace {

using Apply = DialogTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Seed() { return "[tester:clock1]\r\nname=Keep me\r\n[tester:clock2]\r\nname=Me too\r\n"; }

// tempovia.ini as an import left it, beside the backup of what came before.
bool WriteImportAndBackup(const std::wstring& backup) {
    return WriteBytes(backup, "[before]\r\nk=1\r\n") && WriteBytes(UserIniPath(), "[imported]\r\nk=2\r\n");
}

TEST_F(Apply, OkWithoutATreeWritesTheGeneralOptionsLeavesTheClocksAndClosesEverything) {
    ASSERT_TRUE(WriteBytes(UserIniPath(), Seed()));
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    ASSERT_NE(Open(), nullptr);
    ClearEvents();

    SendMessageW(dialog_, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitForEvent("settings changed posted"));
    const std::vector<std::string> expected = {"save state sent", "save state answered", "settings changed posted"};
    EXPECT_EQ(MainEvents(), expected);
    // The general options are in; an empty tree deleted no clock.
    EXPECT_NE(IniValue(L"tester:main", L"trayclocks"), L"<none>");
    EXPECT_EQ(IniValue(L"tester:clock1", L"name"), L"Keep me");
    EXPECT_EQ(IniValue(L"tester:clock2", L"name"), L"Me too");
    // The dialog is gone and asked the frame to close; the main program
    // heard that no clock is being edited any more.
    EXPECT_FALSE(IsWindow(dialog_));
    ASSERT_FALSE(OwnerMessages().empty());
    EXPECT_EQ(OwnerMessages().back().first, static_cast<UINT>(WM_CLOSE));
    EXPECT_TRUE(WaitForEvent("clock count 0"));
}

TEST_F(Apply, ApplyWaitsForTheMainProgramBeforeTheClocksAndTellsItAfterwards) {
    FakeTree tree;
    tree.AddOption(kNodeGeneral, L"general");
    FakeNode* clock = tree.AddClock(1, true, 0);
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    ASSERT_NE(Open(), nullptr);
    Select(clock);
    PostMessageW(dialog_, WM_PAGE_CHANGED, 0, 0);
    Pump();
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));
    ClearEvents();
    Exchanges().clear();

    SendMessageW(dialog_, WM_COMMAND, IDC_APPLY, 0);
    ASSERT_TRUE(WaitForEvent("settings changed posted"));
    const std::vector<std::string> expected = {"save state sent", "save state answered", "save clocks",
                                               "settings changed posted"};
    EXPECT_EQ(MainEvents(), expected);
    // The shown page went into its clock first.
    ASSERT_FALSE(Exchanges().empty());
    EXPECT_EQ(Exchanges()[0].direction, 1u);
    EXPECT_EQ(Exchanges()[0].record, &clock->clock);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_TRUE(OwnerMessages().empty());

    // Clock sections that could not be written leave Apply to be pressed
    // again, and OK keeps the dialog open.
    tree.saveResult = ClockSaveResult::kFailed;
    EnableApply(dialog_);
    ClearEvents();
    SendMessageW(dialog_, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitForEvent("settings changed posted"));
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));
}

TEST_F(Apply, NothingWrittenNothingAnnounced) {
    FakeTree tree;
    tree.AddClock(1, true, 0);
    tree.saveResult = ClockSaveResult::kNothing;
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    ASSERT_NE(Open(), nullptr);
    MainDialogHooks hooks = DialogHooks();
    hooks.saveGeneralOptions = [](unsigned groups) {
        Event("general " + std::to_string(groups));
        return false;
    };
    SetDialogHooks(hooks);
    ClearEvents();
    SendMessageW(dialog_, WM_COMMAND, IDC_APPLY, 0);
    Sleep(200);
    Pump();
    const std::vector<std::string> expected = {"general 255", "save state sent", "save state answered",
                                               "save clocks"};
    EXPECT_EQ(MainEvents(), expected);
}

TEST_F(Apply, CancelWritesNothing) {
    ASSERT_TRUE(WriteBytes(UserIniPath(), Seed()));
    FakeTree tree;
    FakeNode* clock = tree.AddClock(1, true, 0);
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    ASSERT_NE(Open(), nullptr);
    Select(clock);
    PostMessageW(dialog_, WM_PAGE_CHANGED, 0, 0);
    Pump();
    ClearEvents();
    SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog_));
    ASSERT_TRUE(WaitForEvent("clock count 0"));
    EXPECT_TRUE(MainEvents().empty());
    EXPECT_EQ(ReadBytes(UserIniPath()), Seed());
    ASSERT_FALSE(OwnerMessages().empty());
    EXPECT_EQ(OwnerMessages().back().first, static_cast<UINT>(WM_CLOSE));
}

TEST_F(Apply, CancelAfterAnImportPutsTheBackupBackEvenUnderAWritersLockAndOkKeepsTheImport) {
    const std::wstring backup = dir_.file(L"tempovia.bak");
    ASSERT_TRUE(WriteImportAndBackup(backup));
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    ASSERT_NE(Open(), nullptr);
    SetImportUnconfirmed(true);
    ClearEvents();
    SendMessageW(dialog_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ReadBytes(UserIniPath()), "[before]\r\nk=1\r\n");
    EXPECT_FALSE(Exists(backup));
    EXPECT_FALSE(ImportUnconfirmed());
    // The main program runs on the import: it rereads the restored settings.
    EXPECT_TRUE(WaitForEvent("settings changed posted"));

    ASSERT_TRUE(WriteImportAndBackup(backup));
    ASSERT_NE(Open(), nullptr);
    SetImportUnconfirmed(true);
    SendMessageW(dialog_, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog_));
    EXPECT_EQ(IniValue(L"imported", L"k"), L"2");
    EXPECT_FALSE(Exists(backup));

    // Cancel while another program is rewriting the file: the backup goes
    // back once that writer has let go of the lock.
    ASSERT_TRUE(WriteImportAndBackup(backup));
    ASSERT_NE(Open(), nullptr);
    SetImportUnconfirmed(true);
    {
        testing_support::CuttingWriter writer(UserIniPath(), "[imported]\r\nk=3\r\n");
        SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_EQ(ReadBytes(UserIniPath()), "[before]\r\nk=1\r\n");
    EXPECT_FALSE(Exists(backup));
}

TEST_F(Apply, CancelAfterApplyKeepsWhatWasAppliedFromAnImport) {
    const std::wstring backup = dir_.file(L"tempovia.bak");
    ASSERT_TRUE(WriteImportAndBackup(backup));
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    ASSERT_NE(Open(), nullptr);
    SetImportUnconfirmed(true);
    SendMessageW(dialog_, WM_COMMAND, IDC_APPLY, 0);
    ASSERT_TRUE(WaitForEvent("settings changed posted"));
    SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog_));
    EXPECT_EQ(IniValue(L"imported", L"k"), L"2");
    EXPECT_EQ(IniValue(L"before", L"k"), L"<none>");
    EXPECT_FALSE(Exists(backup));
}

TEST_F(Apply, ABackupThatCannotBePutBackIsKept) {
    const std::wstring backup = dir_.file(L"tempovia.bak");
    ASSERT_TRUE(WriteImportAndBackup(backup));
    // The INI is held open without sharing: the copy back fails.
    HANDLE lock = CreateFileW(UserIniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_NE(Open(), nullptr);
    SetImportUnconfirmed(true);
    static std::wstring told;
    const PathErrorBox oldBox = SetPathErrorBox([](HWND, const wchar_t* text, const wchar_t*) {
        told = text;
        return IDOK;
    });
    SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    CloseHandle(lock);
    EXPECT_NE(told.find(backup), std::wstring::npos) << told;
    // A later close without an import keeps it too.
    ASSERT_NE(Open(), nullptr);
    SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    SetPathErrorBox(oldBox);
    EXPECT_TRUE(Exists(backup));
    EXPECT_EQ(ReadBytes(backup), "[before]\r\nk=1\r\n");
}

}  // namespace
}  // namespace settingsdlg_test
