// Shutting down and hibernating after the countdown: the dialog counts down
// from 15, acts at its end through the recording seam (never for real),
// can be cancelled, and is never started twice.
#include <string>
#include <vector>

#include "common/alarms/alarm_actions.h"
#include "common/settings/ini_store.h"
#include "common/alarms/alarm_schedule_check.h"
#include "tests/actions/actions_fixture.h"

using actions_test::ActionsTest;
using actions_test::MakeAlarm;
using actions_test::Moment;
using actions_test::PumpMessages;

namespace {

class Countdown : public ActionsTest {
protected:
    HWND Start(int32_t action) {
        EXPECT_EQ(PerformAlarmAction(MakeAlarm(action, L""), Moment(2024, 3, 5, 7, 30), nullptr),
                  AlarmActionResult::kDone);
        PumpMessages();
        return AlarmWindows().countdownWindow;
    }
    static std::wstring Shown(HWND dialog) {
        wchar_t text[128] = {};
        GetDlgItemTextW(dialog, kCountdownTextId, text, 128);
        return text;
    }
    // As if `seconds` had passed since the countdown began, then one tick.
    static void Elapse(HWND dialog, DWORD seconds) {
        AlarmWindows().countdownStart = GetTickCount() - seconds * 1000 - 100;
        SendMessageW(dialog, WM_TIMER, kCountdownTimerId, 0);
        PumpMessages();
    }
};

TEST_F(Countdown, ShutdownCountsDownFromFifteenAndPowersOffAtTheEnd) {
    g_alarmCheck.previousCheck = Moment(2009, 1, 31, 23, 59, 58);
    HWND dialog = Start(kActionShutdown);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(Shown(dialog), L"Seconds left before the computer shuts down: 15");
    ASSERT_NE(GetDlgItem(dialog, IDOK), nullptr);
    ASSERT_NE(GetDlgItem(dialog, IDCANCEL), nullptr);

    Elapse(dialog, 4);
    EXPECT_EQ(Shown(dialog), L"Seconds left before the computer shuts down: 11");
    Elapse(dialog, 14);
    EXPECT_EQ(Shown(dialog), L"Seconds left before the computer shuts down: 1");
    EXPECT_TRUE(system->steps.empty()) << "nothing happens before the countdown ends";

    Elapse(dialog, 15);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(AlarmWindows().countdownWindow, nullptr);
    const std::vector<std::wstring> expected = {
        L"open token " + std::to_wstring(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY), L"enable SeShutdownPrivilege",
        L"close token", L"exit windows"};
    EXPECT_EQ(system->steps, expected);
    EXPECT_EQ(system->exitFlags, static_cast<UINT>(EWX_POWEROFF | EWX_FORCE));
    EXPECT_EQ(system->exitReason, 0x80040001u);
    EXPECT_EQ(system->suspends, 0);
    EXPECT_TRUE(system->beeps.empty());
    // Written first, so that the alarm does not fire again after the restart.
    EXPECT_EQ(ReadMain(L"lastalarmcheck"), L"2009.01.31 23:59:58");
}

TEST_F(Countdown, HibernateUsesItsOwnDialogAndSuspends) {
    HWND dialog = Start(kActionHibernate);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Shown(dialog), L"Seconds left before the computer hibernates: 15");
    // The OK button acts at once.
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(system->suspends, 1);
    EXPECT_EQ(system->suspendArgs[0], TRUE) << "hibernate";
    EXPECT_EQ(system->suspendArgs[1], FALSE) << "not forced";
    EXPECT_EQ(system->suspendArgs[2], FALSE) << "wake events kept";
    EXPECT_EQ(system->exits, 0);
}

TEST_F(Countdown, CancelLeavesTheComputerRunning) {
    HWND dialog = Start(kActionShutdown);
    ASSERT_NE(dialog, nullptr);
    Elapse(dialog, 10);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(AlarmWindows().countdownWindow, nullptr);
    EXPECT_TRUE(system->steps.empty());
    EXPECT_EQ(ReadMain(L"lastalarmcheck"), std::wstring(kMissingKey));
}

TEST_F(Countdown, ASecondShutdownAlarmOnlyBringsTheCountdownForward) {
    HWND first = Start(kActionShutdown);
    ASSERT_NE(first, nullptr);
    Elapse(first, 6);
    EXPECT_EQ(Start(kActionHibernate), first);
    EXPECT_EQ(Shown(first), L"Seconds left before the computer shuts down: 9") << "the countdown goes on";
    // Other commands are ignored.
    SendMessageW(first, WM_COMMAND, 1234, 0);
    SendMessageW(first, WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(system->steps.empty());
}

TEST_F(Countdown, ARefusedPrivilegeBeepsAndDoesNothingElse) {
    system->privilegeError = ERROR_NOT_ALL_ASSIGNED;
    HWND dialog = Start(kActionShutdown);
    ASSERT_NE(dialog, nullptr);
    Elapse(dialog, 15);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(system->exits, 0);
    EXPECT_EQ(system->steps.back(), L"close token") << "the token is closed on every path";
    ASSERT_EQ(system->beeps.size(), 1u);
    EXPECT_EQ(system->beeps[0], std::make_pair(DWORD{1760}, DWORD{500}));
}

TEST_F(Countdown, NoTokenOrARefusedRequestIsAFailure) {
    system->tokenOpens = false;
    EXPECT_FALSE(ShutdownOrHibernate(false));
    EXPECT_EQ(system->steps.size(), 1u);

    system->tokenOpens = true;
    system->powerResult = FALSE;  // hibernation unavailable
    EXPECT_FALSE(ShutdownOrHibernate(true));
    EXPECT_EQ(system->suspends, 1);
    system->powerResult = TRUE;
    EXPECT_TRUE(ShutdownOrHibernate(false));
    EXPECT_EQ(system->exits, 1);
}

TEST_F(Countdown, AMistranslatedFormatCannotTakeTheCountdownDown) {
    HWND dialog = Start(kActionShutdown);
    ASSERT_NE(dialog, nullptr);
    CopyBounded(AlarmWindows().countdownFormat, L"%s %n %d%% left, %d more");
    Elapse(dialog, 3);
    EXPECT_EQ(Shown(dialog), L"%s %n 12% left, %d more");
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
