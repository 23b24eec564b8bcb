// The actions that open something: documents, folders and addresses on a
// worker thread with its own copy of the alarm, command lines through the
// shell helper, and records that name nothing usable.
#include <string>

#include "common/alarms/alarm_actions.h"
#include "tests/actions/actions_fixture.h"

using actions_test::ActionsTest;
using actions_test::MakeAlarm;
using actions_test::Moment;
using actions_test::ShellCall;

namespace {

class OpenActions : public ActionsTest {
protected:
    AlarmActionResult Perform(const AlarmRecord& alarm) {
        return PerformAlarmAction(alarm, Moment(2024, 3, 5, 7, 30), nullptr);
    }
};

TEST_F(OpenActions, DocumentsFoldersAndAddressesOpenOnAWorkerThread) {
    const wchar_t* texts[] = {L"C:\\Notes\\agenda.txt", L"C:\\Notes", L"https://example.org/a?b=1&c=two words"};
    const int32_t actions[] = {kActionOpenDocument, kActionOpenFolder, kActionOpenAddress};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Perform(MakeAlarm(actions[i], texts[i])), AlarmActionResult::kDone);
        ASSERT_TRUE(system->WaitForShellCalls(i + 1)) << "action " << actions[i];
        const ShellCall call = system->ShellCalls()[i];
        EXPECT_EQ(call.verb, L"open");
        EXPECT_EQ(call.file, texts[i]) << "the whole text, arguments of an address included";
        EXPECT_EQ(call.parameters, L"(null)");
        EXPECT_EQ(call.directory, L"(null)");
        EXPECT_EQ(call.show, SW_SHOWNORMAL);
        EXPECT_NE(call.thread, GetCurrentThreadId()) << "a slow shell must not stall the clocks";
    }
}

TEST_F(OpenActions, TheWorkerKeepsItsOwnCopyOfTheAlarm) {
    AlarmRecord alarm = MakeAlarm(kActionOpenDocument, L"C:\\first.doc");
    EXPECT_EQ(Perform(alarm), AlarmActionResult::kDone);
    // The caller's record may change or go at once (a settings reload).
    alarm.text[0] = L'X';
    alarm = {};
    ASSERT_TRUE(system->WaitForShellCalls(1));
    EXPECT_EQ(system->ShellCalls()[0].file, L"C:\\first.doc");
}

TEST_F(OpenActions, ACommandLineRunsTheLongestExistingProgramWithTheRestAsArguments) {
    const std::wstring folder = dir.file(L"Program Files");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring program = folder + L"\\tool.exe";
    ASSERT_TRUE(testing_support::WriteBytes(program, "MZ"));

    EXPECT_EQ(Perform(MakeAlarm(kActionRunProgram, (program + L" --report \"x y\"").c_str())),
              AlarmActionResult::kDone);
    const auto calls = system->ShellCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].verb, L"open");
    EXPECT_EQ(calls[0].file, program);
    EXPECT_EQ(calls[0].parameters, L"--report \"x y\"");
    EXPECT_EQ(calls[0].directory, folder);
    EXPECT_EQ(calls[0].thread, GetCurrentThreadId()) << "a command line runs on the GUI thread";
}

TEST_F(OpenActions, MissingProgramsAndEmptyTextsOpenNothing) {
    EXPECT_EQ(Perform(MakeAlarm(kActionRunProgram, dir.file(L"missing.exe -x").c_str())),
              AlarmActionResult::kNothingToDo);
    EXPECT_EQ(Perform(MakeAlarm(kActionRunProgram, L"")), AlarmActionResult::kNothingToDo);
    // The shell would open its working folder for an empty document.
    EXPECT_EQ(Perform(MakeAlarm(kActionOpenDocument, L"")), AlarmActionResult::kNothingToDo);
    EXPECT_EQ(Perform(MakeAlarm(kActionOpenAddress, L"")), AlarmActionResult::kNothingToDo);
    Sleep(50);
    EXPECT_TRUE(system->ShellCalls().empty());
}

TEST_F(OpenActions, ATextFillingItsWholeFieldStopsAtTheFieldEnd) {
    AlarmRecord alarm = MakeAlarm(kActionOpenAddress, L"");
    const size_t room = sizeof(alarm.text) / sizeof(alarm.text[0]);
    for (size_t i = 0; i < room; ++i) alarm.text[i] = static_cast<wchar_t>(L'a' + i % 26);
    // The fields behind the text are not text: they must not be read as such.
    alarm.onceTime = Moment(2099, 12, 31, 23, 59);
    alarm.timerOffset = 0x00410041;
    EXPECT_EQ(Perform(alarm), AlarmActionResult::kDone);
    ASSERT_TRUE(system->WaitForShellCalls(1));
    EXPECT_EQ(system->ShellCalls()[0].file, std::wstring(alarm.text, room));

    AlarmRecord command = alarm;
    command.action = kActionRunProgram;  // no such program: nothing runs, nothing is overrun
    EXPECT_EQ(Perform(command), AlarmActionResult::kNothingToDo);
}

TEST_F(OpenActions, ActionsOutsideTheKnownRangeDoNothing) {
    for (int32_t action : {-1, 9, 100}) {
        EXPECT_EQ(Perform(MakeAlarm(action, L"C:\\x.txt")), AlarmActionResult::kUnknownAction) << action;
    }
    Sleep(50);
    EXPECT_TRUE(system->ShellCalls().empty());
    EXPECT_TRUE(system->sounds.empty());
    EXPECT_TRUE(system->steps.empty());
}

}  // namespace
