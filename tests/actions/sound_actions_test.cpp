// Beeps and sounds: once, in a loop with the window that stops it, and the
// fallbacks when there is nothing to play or no sound device.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "common/alarms/alarm_actions.h"
#include "common/platform/system_seam.h"
#include "tests/actions/actions_fixture.h"

using actions_test::ActionsTest;
using actions_test::MakeAlarm;
using actions_test::Moment;
using actions_test::PumpMessages;

namespace {

class SoundActions : public ActionsTest {
protected:
    AlarmActionResult Perform(const AlarmRecord& alarm, AlarmDialogMode mode = AlarmDialogMode::kModeless) {
        return PerformAlarmAction(alarm, Moment(2024, 3, 5, 7, 30), nullptr, mode);
    }
    static std::wstring Title(HWND window) {
        wchar_t text[128] = {};
        GetWindowTextW(window, text, 128);
        return text;
    }
};

TEST_F(SoundActions, BeepInAnyCaseBeepsAndPlaysNothing) {
    for (const wchar_t* text : {L"beep!", L"BEEP!", L"Beep!"}) {
        EXPECT_EQ(Perform(MakeAlarm(kActionSound, text)), AlarmActionResult::kDone);
    }
    ASSERT_EQ(system->beeps.size(), 3u);
    EXPECT_EQ(system->beeps[0], std::make_pair(DWORD{1000}, DWORD{300}));
    EXPECT_TRUE(system->sounds.empty());
    EXPECT_EQ(AlarmWindows().stopPlayingWindow, nullptr);
}

TEST_F(SoundActions, ASoundFilePlaysOnceWithoutAWindow) {
    EXPECT_EQ(Perform(MakeAlarm(kActionSound, L"C:\\Sounds\\gong.wav")), AlarmActionResult::kDone);
    ASSERT_EQ(system->sounds.size(), 1u);
    EXPECT_EQ(system->sounds[0].sound, L"C:\\Sounds\\gong.wav");
    EXPECT_EQ(system->sounds[0].flags, static_cast<DWORD>(SND_FILENAME | SND_ASYNC));
    // A file that cannot be played falls back to the system's default sound.
    EXPECT_FALSE(system->sounds[0].flags & SND_NODEFAULT);
    EXPECT_EQ(AlarmWindows().stopPlayingWindow, nullptr);
    EXPECT_TRUE(system->beeps.empty());
}

TEST_F(SoundActions, AnEmptyTextStopsWhateverPlays) {
    EXPECT_EQ(Perform(MakeAlarm(kActionSound, L"")), AlarmActionResult::kNothingToDo);
    EXPECT_EQ(Perform(MakeAlarm(kActionLoopSound, L"")), AlarmActionResult::kNothingToDo);
    ASSERT_EQ(system->sounds.size(), 2u);
    for (const auto& call : system->sounds) {
        EXPECT_EQ(call.sound, L"(null)");
        EXPECT_EQ(call.flags, static_cast<DWORD>(SND_PURGE));
    }
    EXPECT_EQ(AlarmWindows().stopPlayingWindow, nullptr) << "no window for a sound that does not play";
}

TEST_F(SoundActions, ALoopingSoundOpensOneStopWindowThatTheNextAlarmReuses) {
    EXPECT_EQ(Perform(MakeAlarm(kActionLoopSound, L"C:\\a.wav", L"Tea")), AlarmActionResult::kDone);
    PumpMessages();
    HWND window = AlarmWindows().stopPlayingWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(Title(window), L"Tea");
    ASSERT_NE(GetDlgItem(window, IDCANCEL), nullptr);
    EXPECT_EQ(system->sounds.back().flags, static_cast<DWORD>(SND_FILENAME | SND_ASYNC | SND_LOOP));

    EXPECT_EQ(Perform(MakeAlarm(kActionLoopSound, L"C:\\b.wav", L"Meeting")), AlarmActionResult::kDone);
    PumpMessages();
    EXPECT_EQ(AlarmWindows().stopPlayingWindow, window) << "one window at a time";
    EXPECT_EQ(Title(window), L"Meeting");
    EXPECT_EQ(system->sounds.back().sound, L"C:\\b.wav");

    // The stop button (IDCANCEL, also Esc) stops the sound and closes the window.
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(AlarmWindows().stopPlayingWindow, nullptr);
    EXPECT_EQ(system->sounds.back().sound, L"(null)");
    EXPECT_EQ(system->sounds.back().flags, static_cast<DWORD>(SND_PURGE));
}

TEST_F(SoundActions, TheStopWindowIsTranslatedAndShowsAnUnterminatedNameWhole) {
    AlarmRecord alarm = MakeAlarm(kActionLoopSound, L"C:\\a.wav");
    const size_t room = sizeof(alarm.comment) / sizeof(alarm.comment[0]);
    for (size_t i = 0; i < room; ++i) alarm.comment[i] = L'n';
    alarm.reminder = 0x00780078;  // behind the name: must not become part of it
    EXPECT_EQ(Perform(alarm), AlarmActionResult::kDone);
    HWND window = AlarmWindows().stopPlayingWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), std::wstring(room, L'n'));
    wchar_t button[64] = {};
    GetDlgItemTextW(window, IDCANCEL, button, 64);
    EXPECT_STREQ(button, L"&Stop Playing");
}

// The settings program's test button: the dialog runs modally and the call
// returns once the user has stopped the sound.
HHOOK g_stopHook = nullptr;
LRESULT CALLBACK PressStop(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_INITDIALOG) PostMessageW(msg->hwnd, WM_COMMAND, IDCANCEL, 0);
    return CallNextHookEx(g_stopHook, code, wParam, lParam);
}

TEST_F(SoundActions, TheModalStopDialogReturnsWhenStopped) {
    g_stopHook = SetWindowsHookExW(WH_CALLWNDPROCRET, PressStop, nullptr, GetCurrentThreadId());
    const AlarmActionResult result = Perform(MakeAlarm(kActionLoopSound, L"C:\\a.wav"), AlarmDialogMode::kModal);
    UnhookWindowsHookEx(g_stopHook);
    EXPECT_EQ(result, AlarmActionResult::kDone);
    EXPECT_EQ(AlarmWindows().stopPlayingWindow, nullptr);
    EXPECT_EQ(system->sounds.back().flags, static_cast<DWORD>(SND_PURGE));
}

// Without a sound device the real calls fail or return at once; an alarm
// must never wait on them.
TEST(SoundFallbacks, TheRealCallsReturnPromptlyWithoutASoundDevice) {
    const std::wstring missing = L"C:\\no such folder\\no such sound.wav";
    const DWORD start = GetTickCount();
    System().PlaySoundFile(missing.c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    System().PlaySoundFile(nullptr, nullptr, SND_PURGE);
    EXPECT_LT(GetTickCount() - start, 5000u);
}

}  // namespace
