// The tree's check boxes, the Add, Delete and Move buttons, the clock type
// dialog and the moment a new alarm starts with.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "settings/main_dialog.h"
#include "settings/main_dialog_state.h"
#include "settings/new_alarm_time.h"
#include "tests/settingsdlg/dialog_fixture.h"

namespace settingsdlg_test {
namespace {

class TreeButtons : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        general_ = model_.AddOption(kNodeGeneral, L"general");
        clock1_ = model_.AddClock(1, true, 1);
        clock2_ = model_.AddClock(2, false, 0);
    }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }
    void Space() {
        NMTVKEYDOWN key = {};
        key.hdr.hwndFrom = tree_;
        key.hdr.idFrom = IDC_SETTINGS_TREE;
        key.hdr.code = TVN_KEYDOWN;
        key.wVKey = VK_SPACE;
        SendMessageW(dialog_, WM_NOTIFY, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(&key));
        Pump();
    }
    void Click(FakeNode* node) {
        PostMessageW(dialog_, WM_TREE_CHECK_CLICKED, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(node->item));
        Pump();
    }

    FakeTree model_;
    FakeNode* general_ = nullptr;
    FakeNode* clock1_ = nullptr;
    FakeNode* clock2_ = nullptr;
};

TEST_F(TreeButtons, TheButtonsFollowTheSelection) {
    ASSERT_NE(Open(), nullptr);
    // An option node: nothing to add, delete or move.
    EXPECT_FALSE(Enabled(IDC_ADD_NODE));
    EXPECT_FALSE(Enabled(IDC_DELETE_NODE));
    EXPECT_FALSE(Enabled(IDC_MOVE_UP));
    EXPECT_FALSE(Enabled(IDC_MOVE_DOWN));
    Select(clock1_);
    EXPECT_TRUE(Enabled(IDC_ADD_NODE));
    EXPECT_TRUE(Enabled(IDC_DELETE_NODE));
    EXPECT_FALSE(Enabled(IDC_MOVE_UP));  // the one before it is no clock
    EXPECT_TRUE(Enabled(IDC_MOVE_DOWN));
    Select(clock2_);
    EXPECT_TRUE(Enabled(IDC_MOVE_UP));
    EXPECT_FALSE(Enabled(IDC_MOVE_DOWN));
}

TEST_F(TreeButtons, MovingAClockUpPutsItBeforeThePreviousOne) {
    ASSERT_NE(Open(), nullptr);
    Select(clock2_);
    SendMessageW(dialog_, WM_COMMAND, IDC_MOVE_UP, 0);
    Pump();
    ASSERT_EQ(model_.top().size(), 3u);
    EXPECT_EQ(model_.top()[1], clock2_);
    EXPECT_EQ(model_.top()[2], clock1_);
    EXPECT_EQ(Selected(), clock2_);
    EXPECT_TRUE(IsWindowVisible(Page(5)));
    EXPECT_TRUE(Enabled(IDC_APPLY));
}

TEST_F(TreeButtons, MoveTargets) {
    FakeNode* clock3 = model_.AddClock(3, true, 2);
    ASSERT_NE(Open(), nullptr);
    FakeNode* alarms1 = model_.Group(clock1_, kNodeAlarms);
    FakeNode* alarms2 = model_.Group(clock2_, kNodeAlarms);
    FakeNode* alarms3 = model_.Group(clock3, kNodeAlarms);
    auto target = [](FakeNode* n, bool up) { return FakeTree::N(MoveTarget(FakeTree::C(n), up)); };
    // Down: past the next one; with only one behind it, the end of the list.
    EXPECT_EQ(target(clock1_, false), clock3);
    EXPECT_EQ(target(clock2_, false), nullptr);
    EXPECT_EQ(target(alarms3->children[0], false), alarms3);
    // The last alarm of a clock goes to the next clock's alarms: before their
    // first, or into the empty group.
    EXPECT_EQ(target(alarms1->children[0], false), alarms2);
    EXPECT_EQ(target(alarms3->children[1], false), nullptr);
    // Up: before the previous one; the first alarm to the previous clock's group.
    EXPECT_EQ(target(clock2_, true), clock1_);
    EXPECT_EQ(target(alarms3->children[0], true), alarms2);
    EXPECT_EQ(target(alarms1->children[0], true), nullptr);
    EXPECT_EQ(target(model_.Group(clock1_, kNodeDesktop), true), nullptr);
}

TEST_F(TreeButtons, TheLastClockThatIsOnCannotBeSwitchedOff) {
    ASSERT_NE(Open(), nullptr);
    Select(clock1_);
    // By mouse: the box is set on again and nothing counts as changed.
    model_.SetStateImage(clock1_, 1);
    Click(clock1_);
    EXPECT_TRUE(clock1_->checked);
    EXPECT_EQ(model_.StateImage(clock1_), 2);
    EXPECT_FALSE(Enabled(IDC_APPLY));
    // By the space bar: refused, and the box comes back on.
    Space();
    EXPECT_TRUE(clock1_->checked);
    EXPECT_EQ(model_.StateImage(clock1_), 2);
    EXPECT_FALSE(Enabled(IDC_APPLY));

    // With a second clock on, it can.
    Select(clock2_);
    Space();
    EXPECT_TRUE(clock2_->checked);
    EXPECT_TRUE(Enabled(IDC_APPLY));
    model_.SetStateImage(clock1_, 1);
    Click(clock1_);
    EXPECT_FALSE(clock1_->checked);
    // The clicked node is selected.
    EXPECT_EQ(Selected(), clock1_);
}

TEST_F(TreeButtons, NodesWithoutABoxRefuseTheSpaceBar) {
    ASSERT_NE(Open(), nullptr);
    FakeNode* desktop = model_.Group(clock1_, kNodeDesktop);
    Select(desktop);
    Space();
    EXPECT_EQ(model_.StateImage(desktop), 0);
    EXPECT_FALSE(Enabled(IDC_APPLY));
}

TEST_F(TreeButtons, DeleteAsksAndKeepsOneClockOn) {
    static int answer = IDNO;
    ASSERT_NE(Open(), nullptr);
    MainDialogHooks hooks = DialogHooks();
    hooks.askDelete = [](HWND, const wchar_t* text, const wchar_t* caption) -> int {
        EXPECT_STRNE(text, L"");
        EXPECT_STRNE(caption, L"");
        return answer;
    };
    SetDialogHooks(hooks);
    Select(clock1_);
    answer = IDNO;
    SendMessageW(dialog_, WM_COMMAND, IDC_DELETE_NODE, 0);
    Pump();
    EXPECT_EQ(model_.ClockCount(), 2);
    EXPECT_FALSE(Enabled(IDC_APPLY));

    answer = IDYES;
    SendMessageW(dialog_, WM_COMMAND, IDC_DELETE_NODE, 0);
    Pump();
    ASSERT_EQ(model_.ClockCount(), 1);
    // Clock 2, off until now, is the one left and is switched on.
    EXPECT_TRUE(clock2_->checked);
    EXPECT_TRUE(Enabled(IDC_APPLY));
    // One clock cannot be deleted.
    Select(clock2_);
    EXPECT_FALSE(Enabled(IDC_DELETE_NODE));
}

TEST_F(TreeButtons, AddOnAClockAsksForTheTypeAndPutsTheNewClockBeforeIt) {
    static INT_PTR choice = 0;
    ASSERT_NE(Open(), nullptr);
    MainDialogHooks hooks = DialogHooks();
    hooks.chooseClockType = [](HWND) { return choice; };
    SetDialogHooks(hooks);
    Select(clock2_);
    ClearEvents();
    choice = 0;
    SendMessageW(dialog_, WM_COMMAND, IDC_ADD_NODE, 0);
    EXPECT_TRUE(MainEvents().empty());
    choice = 3;
    SendMessageW(dialog_, WM_COMMAND, IDC_ADD_NODE, 0);
    Pump();
    ASSERT_EQ(MainEvents().size(), 1u);
    EXPECT_EQ(MainEvents()[0], "create kind -1 type 13 defaults");
    ASSERT_EQ(model_.top().size(), 4u);
    EXPECT_EQ(model_.top()[2], Selected());
    EXPECT_TRUE(Enabled(IDC_APPLY));

    // On an alarm: a new alarm before it, in its group.
    FakeNode* alarms = model_.Group(clock1_, kNodeAlarms);
    Select(alarms->children[0]);
    ClearEvents();
    SendMessageW(dialog_, WM_COMMAND, IDC_ADD_NODE, 0);
    Pump();
    ASSERT_EQ(MainEvents().size(), 1u);
    EXPECT_EQ(MainEvents()[0], "create kind 8 type 0");
    EXPECT_EQ(alarms->children.size(), 2u);
}

// Clicks the stopwatch button of the clock type dialog once it is up.
void CALLBACK PickStopwatch(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", L"Clock Type");
    if (!box) return;
    KillTimer(nullptr, id);
    SendDlgItemMessageW(box, IDC_TYPE_CLOCK, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageW(box, IDC_TYPE_STOPWATCH, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void CALLBACK CancelIt(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", L"Clock Type");
    if (!box) return;
    KillTimer(nullptr, id);
    EXPECT_EQ(SendDlgItemMessageW(box, IDC_TYPE_CLOCK, BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageW(box, WM_CLOSE, 0, 0);
}

TEST_F(DialogTest, TheClockTypeDialogAnswersTheButtonThatIsOn) {
    SetTimer(nullptr, 0, 20, PickStopwatch);
    EXPECT_EQ(RunClockTypeDialog(owner_, ResourceModule()), 3);
    SetTimer(nullptr, 0, 20, CancelIt);
    EXPECT_EQ(RunClockTypeDialog(owner_, ResourceModule()), 0);
}

TEST(NewAlarmTime, ClocksStartNowTimersAtAPointOfTheirRun) {
    ClockRecord clock = {};
    AlarmRecord alarm = {};
    const SYSTEMTIME now = {2026, 3, 0, 14, 9, 30, 15, 500};
    // A clock (UTC here): now, only the milliseconds cleared.
    SetNewAlarmTime(alarm, clock, now);
    EXPECT_EQ(alarm.onceTime.wHour, 9);
    EXPECT_EQ(alarm.onceTime.wMinute, 30);
    EXPECT_EQ(alarm.onceTime.wSecond, 15);
    EXPECT_EQ(alarm.onceTime.wMilliseconds, 0);
    clock.kind = kClockTimer;  // stopwatch
    SetNewAlarmTime(alarm, clock, now);
    EXPECT_EQ(alarm.timerOffset, 300u);
    clock.kind = kClockTimer | kClockCountdown;  // countdown
    SetNewAlarmTime(alarm, clock, now);
    EXPECT_EQ(alarm.timerOffset, 0u);
    // A stopwatch from a set start: the start itself, the offset untouched.
    alarm.timerOffset = 42;
    clock.kind = kClockTimer | kClockSetDate;
    clock.targetTime = {2026, 5, 0, 1, 8, 0, 0, 0};
    SetNewAlarmTime(alarm, clock, now);
    EXPECT_EQ(alarm.onceTime.wMonth, 5);
    EXPECT_EQ(alarm.onceTime.wHour, 8);
    EXPECT_EQ(alarm.timerOffset, 42u);
}

}  // namespace
}  // namespace settingsdlg_test

namespace settingsdlg_test {
namespace {

TEST_F(TreeButtons, TheSpaceBarOnTheTreeChangesTheNodeAndItsBoxAlike) {
    ASSERT_NE(Open(), nullptr);
    Select(clock2_);
    SetFocus(tree_);
    for (int round = 0; round < 2; ++round) {
        SendMessageW(tree_, WM_KEYDOWN, VK_SPACE, 0x00390001);
        SendMessageW(tree_, WM_CHAR, L' ', 0x00390001);
        SendMessageW(tree_, WM_KEYUP, VK_SPACE, 0xC0390001);
        Pump();
        EXPECT_EQ(model_.StateImage(clock2_), clock2_->checked ? 2 : 1) << round;
    }
    // Clock 1, the only one on in the end, stays on.
    Select(clock1_);
    SetFocus(tree_);
    SendMessageW(tree_, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(tree_, WM_CHAR, L' ', 0x00390001);
    SendMessageW(tree_, WM_KEYUP, VK_SPACE, 0xC0390001);
    Pump();
    EXPECT_TRUE(clock1_->checked);
    EXPECT_EQ(model_.StateImage(clock1_), 2);
}

}  // namespace
}  // namespace settingsdlg_test
