// Alarms as a hand-edited tempovia.ini leaves them: the reader accepts
// values out of range, and the check must neither crash nor hang on them.
#include <gtest/gtest.h>

#include <string>

#include "common/settings/alarm_sections.h"
#include "common/alarms/alarm_schedule.h"
#include "tests/alarms/alarm_fixtures.h"
#include "tests/support/test_support.h"

using namespace alarm_fixtures;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(AlarmIniRecords, OutOfRangeValuesAreReadAndYieldNothingOrAValidMoment) {
    TempDir dir;
    const std::wstring file = dir.file(L"tempovia.ini");
    const char* kSections[] = {
        "type=0\r\nonce=2024.13.45 25:61:61\r\n",
        "type=1\r\ndaily=0000.00.00 00:00:00 0\r\n",
        "type=1\r\ndaily=2024.02.30 08:00:00 -7\r\n",
        "type=2\r\nweekly=2024.01.01 08:00:00 -2147483648 FF\r\n",
        "type=2\r\nweekly=2024.01.01 08:00:00 3 80\r\n",
        "type=3\r\nmonthly=99:99:99 1 99 99 99 -5 13.9999\r\n",
        "type=3\r\nmonthly=08:00:00 0 0 0 0 0 0.0000\r\n",
        "type=4\r\nyearly=23:59:59 1 13 40 0 9\r\n",
        "type=4\r\nyearly=08:00:00 0 2 30 0 0\r\n",
        "type=5\r\ncron=59;23;-31;2;7\r\n",
        "type=5\r\ncron=*;*;31;2,4,6,9,11;*\r\n",
    };
    std::string content;
    int count = 0;
    for (const char* body : kSections) {
        content += "[c:alarm" + std::to_string(++count) + "]\r\n" + body + "reminder=2147483647\r\n";
    }
    ASSERT_TRUE(WriteBytes(file, content));

    TestClock clock(zone_fixtures::Eastern());
    for (int m = 1; m <= count; ++m) {
        AlarmRecord a{};
        ASSERT_TRUE(ReadAlarmRecord(file.c_str(), L"c", clock.record, m, a)) << m;
        clock.Add(a);
        SYSTEMTIME due{};
        if (GetLastDueTime(a, SYSTEMTIME{}, Dated(2024, 6, 1, 12), due)) {
            EXPECT_TRUE(IsValidMoment(due)) << m;
            EXPECT_LE(CompareSystemTimes(due, Dated(2024, 6, 1, 12)), 0) << m;
        }
    }
    // The whole list through a day of ticks, and one check over 40 years.
    RecordingSink sink;
    AlarmCheckState state{};
    RunTicks(clock.record, Dated(2024, 6, 1), Dated(2024, 6, 2), 60, state, sink);
    state.previousCheck = Dated(1984, 1, 1);
    CheckClockAlarms(clock.record, Dated(2024, 6, 1), state, &sink);
    for (const Fired& f : sink.calls) EXPECT_TRUE(IsValidMoment(f.due));
}
