#include <gtest/gtest.h>

#include <cstring>

#include "common/settings/clock_sections.h"
#include "common/settings/ini_store.h"
#include "tests/settings_records/records_sandbox.h"

using namespace records_test;

namespace {

ClockRecord TitledClock(const wchar_t* label, const wchar_t* displayName) {
    ClockRecord c;
    memset(&c, 0, sizeof(c));
    CopyBounded(c.label, label);
    CopyBounded(c.zone.displayName, displayName);
    return c;
}

std::wstring Title(const ClockRecord& c, size_t size = 128) {
    wchar_t buffer[128];
    wmemset(buffer, L'#', 128);
    GetClockTitle(c, buffer, size);
    return std::wstring(buffer);
}

}  // namespace

TEST(ClockTitle, LabelAndTheZoneOffset) {
    ClockRecord c = TitledClock(L"NY", L"(UTC-05:00) Eastern Time (US & Canada)");
    EXPECT_EQ(L"NY (UTC-05:00)", Title(c));
    // The offset is left out when it does not fit.
    EXPECT_EQ(L"NY", Title(c, 10));
    EXPECT_EQ(L"N", Title(c, 2));
    EXPECT_EQ(L"", Title(c, 1));

    EXPECT_EQ(L"Home", Title(TitledClock(L"Home", L"Local System Time")));
    EXPECT_EQ(L"(UTC+09:00) Osaka, Sapporo, Tokyo", Title(TitledClock(L"", L"(UTC+09:00) Osaka, Sapporo, Tokyo")));
    EXPECT_EQ(L"X", Title(TitledClock(L"X", L"(no closing bracket")));
}

TEST(ClockTitle, ACountdownToADateNamedAfterItsPlace) {
    ClockRecord c = TitledClock(L"Opening day", L"(UTC+01:00) Paris");
    CopyBounded(c.prefix, L"Paris");
    CopyBounded(c.location, L"Paris, France");
    c.kind = kClockTimer | kClockCountdown | kClockSetDate;
    EXPECT_EQ(L"Countdown to Paris", Title(c));

    c.kind = kClockTimer | kClockCountdown;  // a plain countdown keeps its label
    EXPECT_EQ(L"Opening day (UTC+01:00)", Title(c));

    c.kind = kClockTimer | kClockCountdown | kClockSetDate;
    CopyBounded(c.location, L"Lyon, France");
    EXPECT_EQ(L"Opening day (UTC+01:00)", Title(c));
}
