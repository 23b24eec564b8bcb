// The message alarm: a row in the alarm log for a clock, a message box of
// its own when there is no clock.
#include "common/alarms/alarm_actions.h"

#include <commctrl.h>

#include "common/alarms/alarm_log.h"
#include "tests/actions/actions_fixture.h"
#include "tests/util/message_box_watch.h"

using actions_test::ActionsTest;
using actions_test::MakeAlarm;
using actions_test::Moment;

namespace {

using MessageAction = ActionsTest;

TEST_F(MessageAction, WithoutAClockAMessageBoxShowsTheNameAndTheText) {
    MessageBoxWatch watch;
    const AlarmRecord alarm = MakeAlarm(kActionMessage, L"Call the office", L"Monday");
    EXPECT_EQ(PerformAlarmAction(alarm, Moment(2024, 3, 4, 9, 0), nullptr), AlarmActionResult::kDone);
    EXPECT_EQ(watch.boxes(), 1);
    EXPECT_EQ(watch.caption(), L"Tempovia Alarm");
    EXPECT_EQ(watch.text(), L"Monday Call the office");
    EXPECT_EQ(AlarmWindows().openMessageBoxes, 0) << "raised only while the box is open";
}

TEST_F(MessageAction, FullFieldsWithoutTerminatorsAreShownWhole) {
    MessageBoxWatch watch;
    AlarmRecord alarm = MakeAlarm(kActionMessage, L"");
    for (wchar_t& c : alarm.comment) c = L'c';
    for (wchar_t& c : alarm.text) c = L't';
    EXPECT_EQ(PerformAlarmAction(alarm, Moment(2024, 3, 4, 9, 0), nullptr), AlarmActionResult::kDone);
    EXPECT_EQ(watch.text(), std::wstring(78, L'c') + L" " + std::wstring(260, L't'));
}

TEST_F(MessageAction, WithAClockTheRowGoesToTheLogMadeForIt) {
    ClockRecord clock = {};
    ASSERT_EQ(AlarmLogHandle(), nullptr);
    EXPECT_EQ(PerformAlarmAction(MakeAlarm(kActionMessage, L"Hello"), Moment(2024, 3, 4, 9, 0), &clock),
              AlarmActionResult::kDone);
    ASSERT_NE(AlarmLogHandle(), nullptr);
    EXPECT_TRUE(IsWindowVisible(AlarmLogHandle()));
    EXPECT_EQ(SendMessageW(AlarmLogList(), LVM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(MessageAction, WithAClockButNoLogWindowNothingIsShown) {
    // The log cannot be made: its class name is taken.
    WNDCLASSEXW taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcW;
    taken.hInstance = GetModuleHandleW(nullptr);
    taken.lpszClassName = kAlarmLogClass;
    ASSERT_NE(RegisterClassExW(&taken), 0);
    MessageBoxWatch watch;
    ClockRecord clock = {};
    EXPECT_EQ(PerformAlarmAction(MakeAlarm(kActionMessage, L"Hello"), Moment(2024, 3, 4, 9, 0), &clock),
              AlarmActionResult::kNoWindow);
    EXPECT_EQ(watch.boxes(), 0);
    EXPECT_EQ(AlarmLogHandle(), nullptr);
    UnregisterClassW(kAlarmLogClass, taken.hInstance);
}

}  // namespace
