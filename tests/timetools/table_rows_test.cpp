// The time table's rows: one every N minutes of a local day, each clock in
// its own zone with the rules of the row's moment, cells tinted by profiles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/settings/time_format.h"
#include "tempovia/timetools/time_table_rows.h"
#include "tests/timetools/timetools_fixtures.h"

using namespace timetools_tests;

namespace {

constexpr COLORREF kWindow = RGB(255, 255, 255);

// The time part of a cell: what follows the last blank.
std::wstring TimeOf(const std::wstring& cell) {
    const size_t blank = cell.rfind(L' ');
    return blank == std::wstring::npos ? cell : cell.substr(blank + 1);
}

class TableRows : public ::testing::Test {
protected:
    TestZones zones;
    std::vector<ClockRecord> clocks;
    std::vector<ClockRecord*> pointers;
    LocaleTimeFormat saved = CurrentLocaleTimeFormat();

    void SetUp() override {
        ASSERT_TRUE(zones.loaded());
        clocks = {zones.Clock(1, L"London"), zones.Clock(7, L"New York"), zones.Clock(8, L"Flat")};
        for (ClockRecord& c : clocks) pointers.push_back(&c);
    }
    void TearDown() override { SetLocaleTimeFormat(saved); }
    std::vector<TimeTableRow> Build(const SYSTEMTIME& day, int interval, int format, const ZoneRecord& local) {
        return BuildTimeTableRows(day, interval, format, local, pointers.data(), static_cast<int>(pointers.size()),
                                  kWindow);
    }
};

}  // namespace

TEST_F(TableRows, IntervalGivesRowsFromLocalMidnight) {
    const ZoneRecord london = clocks[0].zone;
    const auto hourly = Build(Utc(2030, 1, 15), 60, kTableFormat24, london);
    ASSERT_EQ(hourly.size(), 24u);
    EXPECT_EQ(TimeOf(hourly[0].cells[0]), L"0:00");
    EXPECT_EQ(TimeOf(hourly[23].cells[0]), L"23:00");
    ASSERT_EQ(hourly[9].cells.size(), 4u);
    EXPECT_EQ(TimeOf(hourly[14].cells[1]), L"14:00");
    EXPECT_EQ(TimeOf(hourly[14].cells[2]), L"9:00");
    EXPECT_EQ(TimeOf(hourly[14].cells[3]), L"17:00");
    // New York's column starts on the day before.
    EXPECT_NE(hourly[0].cells[2].substr(0, 3), hourly[0].cells[1].substr(0, 3));
    EXPECT_EQ(Build(Utc(2030, 1, 15), 5, kTableFormat24, london).size(), 288u);
    EXPECT_EQ(Build(Utc(2030, 1, 15), 7, kTableFormat24, london).size(), 205u);
}

TEST_F(TableRows, DaylightSwitchInTheComputersZoneRepeatsOrSkipsAnHour) {
    const ZoneRecord newYork = clocks[1].zone;
    // 3 November 2030: 01:00 comes twice.
    const auto autumn = Build(Utc(2030, 11, 3), 60, kTableFormat24, newYork);
    ASSERT_EQ(autumn.size(), 24u);
    EXPECT_EQ(TimeOf(autumn[1].cells[0]), L"1:00");
    EXPECT_EQ(TimeOf(autumn[2].cells[0]), L"1:00");
    EXPECT_EQ(TimeOf(autumn[3].cells[0]), L"2:00");
    // London follows its own zone: one hour after the other.
    EXPECT_EQ(TimeOf(autumn[1].cells[1]), L"5:00");
    EXPECT_EQ(TimeOf(autumn[2].cells[1]), L"6:00");
    // 10 March 2030: 02:00 never comes.
    const auto spring = Build(Utc(2030, 3, 10), 60, kTableFormat24, newYork);
    EXPECT_EQ(TimeOf(spring[1].cells[0]), L"1:00");
    EXPECT_EQ(TimeOf(spring[2].cells[0]), L"3:00");
    EXPECT_EQ(TimeOf(spring[2].cells[1]), L"7:00");
}

TEST_F(TableRows, DatedChangeShowsFromTheFirstRowAtOrAfterIt) {
    const ZoneRecord london = clocks[0].zone;  // UTC in March before the 30th
    const auto rows = Build(Utc(2031, 3, 27), 60, kTableFormat24, london);
    EXPECT_EQ(TimeOf(rows[9].cells[3]), L"12:00");
    EXPECT_EQ(TimeOf(rows[10].cells[3]), L"14:00");
    EXPECT_EQ(TimeOf(rows[11].cells[3]), L"15:00");
    // The day before: UTC+3 all day.
    const auto before = Build(Utc(2031, 3, 26), 60, kTableFormat24, london);
    EXPECT_EQ(TimeOf(before[23].cells[3]), L"2:00");
}

TEST_F(TableRows, ProfileTintsExactlyTheRowsInItsRange) {
    ClockRecord& newYork = clocks[1];
    newYork.profilesEnabled = 1;
    newYork.profileCount = 1;
    BackgroundProfile& office = newYork.profiles[0];
    office.enabled = 1;
    office.fromMinute = 9 * 60;
    office.toMinute = 17 * 60;
    office.weekdayMask = 0x7F;
    office.colour = RGB(255, 0, 0);
    office.opacity = 255;
    const auto rows = Build(Utc(2030, 1, 15), 60, kTableFormat24, clocks[0].zone);
    for (size_t r = 0; r < rows.size(); ++r) {
        // New York is five hours behind: 09:00 there is 14:00 here.
        const bool inside = r >= 14 && r < 22;
        EXPECT_EQ(rows[r].colours[1], inside ? RGB(255, 0, 0) : kWindow) << r;
        EXPECT_EQ(rows[r].colours[0], kWindow);
    }
    office.opacity = 128;
    const auto half = Build(Utc(2030, 1, 15), 60, kTableFormat24, clocks[0].zone);
    EXPECT_EQ(half[15].colours[1], BlendProfileColour(RGB(255, 0, 0), 128, kWindow));
    EXPECT_EQ(BlendProfileColour(RGB(255, 0, 0), 128, kWindow), RGB(255, 127, 127));
}

TEST_F(TableRows, ClockFormatsUseEachClocksOwnPictures) {
    CopyBounded(clocks[0].timeformat, L"HH'h'mm");
    CopyBounded(clocks[0].dateformat, L"yyyy");
    CopyBounded(clocks[1].timeformat, L"HH:mm");
    const auto rows = Build(Utc(2030, 1, 15), 60, kTableFormatClock, clocks[0].zone);
    EXPECT_EQ(rows[14].cells[1], L"2030 14h00");
    EXPECT_EQ(rows[14].cells[2], L"09:00");  // "None": no date part
}

TEST_F(TableRows, FormatNamesReadAndWriteAsTheyStand) {
    EXPECT_EQ(TableFormatFromName(L"Default"), kTableFormatDefault);
    EXPECT_EQ(TableFormatFromName(L"12 hours"), kTableFormat12);
    EXPECT_EQ(TableFormatFromName(L"24 hours"), kTableFormat24);
    EXPECT_EQ(TableFormatFromName(L"Clock"), kTableFormatClock);
    EXPECT_EQ(TableFormatFromName(L"24 Hours!"), -1);
    EXPECT_EQ(TableFormatFromName(nullptr), -1);
    EXPECT_STREQ(TableFormatName(kTableFormatClock), L"Clock");
    EXPECT_STREQ(TableFormatName(9), L"Default");
}

TEST_F(TableRows, BadInputGivesNoRows) {
    const ZoneRecord london = clocks[0].zone;
    EXPECT_TRUE(Build(Utc(2030, 1, 15), 0, kTableFormat24, london).empty());
    EXPECT_TRUE(Build(Utc(2030, 1, 15), -5, kTableFormat24, london).empty());
    SYSTEMTIME bad{};
    bad.wYear = 2030;
    bad.wMonth = 2;
    bad.wDay = 29;
    EXPECT_TRUE(Build(bad, 60, kTableFormat24, london).empty());
    EXPECT_TRUE(Build(SYSTEMTIME{}, 60, kTableFormat24, london).empty());
    // No clocks: the label column alone.
    const auto alone = BuildTimeTableRows(Utc(2030, 1, 15), 60, kTableFormat24, london, nullptr, 5, kWindow);
    ASSERT_EQ(alone.size(), 24u);
    EXPECT_EQ(alone[0].cells.size(), 1u);
}
