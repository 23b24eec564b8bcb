// Clock and alarm arrays: growth keeps records, freeing empties the news list.
#include <gtest/gtest.h>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_arrays.h"
#include "common/records/clock_table.h"

namespace {

int g_clears = 0;
bool CountClears(const wchar_t* url, int, int index, int, int) {
    if (!url && index == 0) ++g_clears;
    return true;
}

TEST(IniArrays, AlarmArraysGrowZeroFilledAndKeepTheirRecords) {
    AlarmRecord* alarms = ResizeAlarmArray(nullptr, 8);
    ASSERT_NE(alarms, nullptr);
    for (int i = 0; i < 8; ++i) reinterpret_cast<unsigned char*>(&alarms[i])[0] = static_cast<unsigned char>(i + 1);
    alarms = ResizeAlarmArray(alarms, 16);
    ASSERT_NE(alarms, nullptr);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(reinterpret_cast<unsigned char*>(&alarms[i])[0], i + 1);
    const unsigned char* added = reinterpret_cast<const unsigned char*>(&alarms[8]);
    for (size_t b = 0; b < 8 * sizeof(AlarmRecord); ++b) ASSERT_EQ(added[b], 0) << b;
    EXPECT_EQ(ResizeAlarmArray(alarms, 0), nullptr);
    EXPECT_EQ(ResizeAlarmArray(nullptr, -1), nullptr);
}

TEST(IniArrays, FreeingTheClocksFreesTheirAlarmsAndClearsTheCounts) {
    EXPECT_EQ(AllocClockArray(0), nullptr);
    EXPECT_EQ(AllocClockArray(-3), nullptr);
    ClockRecord* clocks = AllocClockArray(3);
    ASSERT_NE(clocks, nullptr);
    EXPECT_EQ(clocks[2].number, 0);
    EXPECT_EQ(clocks[2].alarms, nullptr);
    clocks[1].alarms = ResizeAlarmArray(nullptr, 8);
    clocks[1].alarmCount = 2;

    NewsChannelConsumer old = SetNewsChannelConsumer(CountClears);
    g_clears = 0;
    g_clocks = clocks;
    g_clockCount = 3;
    g_enabledClockCount = 2;
    g_settings.clockCount = 3;
    g_settings.enabledClocks = 2;
    FreeClockArray();
    EXPECT_EQ(g_clears, 1);
    EXPECT_EQ(g_clocks, nullptr);
    EXPECT_EQ(g_clockCount, 0);
    EXPECT_EQ(g_enabledClockCount, 0);
    EXPECT_EQ(g_settings.clockCount, 0);
    EXPECT_EQ(g_settings.enabledClocks, 0);
    FreeClockArray();  // nothing left: harmless
    SetNewsChannelConsumer(old);
}

}  // namespace
