// Where the converter's columns go, and the texts of its pickers and tips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform/text_bounds.h"
#include "tempovia/timetools/converter_layout.h"
#include "tempovia/timetools/converter_text.h"
#include "tests/timetools/timetools_fixtures.h"

TEST(ConverterLayout, NoColumnsGiveAnEmptyLayout) {
    const ConverterLayout layout = LayoutConverter({}, SIZE{80, 20});
    EXPECT_EQ(layout.rows, 0);
    EXPECT_TRUE(layout.columns.empty());
}

TEST(ConverterLayout, ALoneColumnIsCentredWithItsPickersUnderTheFace) {
    const ConverterLayout layout = LayoutConverter({SIZE{60, 40}}, SIZE{100, 20});
    ASSERT_EQ(layout.rows, 1);
    EXPECT_EQ(layout.client.cx, 120);
    const ConverterColumnPlace& c = layout.columns[0];
    ASSERT_TRUE(c.placed);
    EXPECT_EQ(c.face.left, 30);
    EXPECT_EQ(c.face.right, 90);
    EXPECT_EQ(c.face.top, 10);
    EXPECT_EQ(c.datePicker.x, 10);
    EXPECT_EQ(c.datePicker.y, 10 + 40 + 5);
    EXPECT_EQ(c.timePicker.y, c.datePicker.y + 20 + 8);
    EXPECT_GE(layout.client.cy, c.timePicker.y + 20);
}

TEST(ConverterLayout, ManyColumnsWrapIntoRowsNearThreeToTwo) {
    // Twelve columns of 100 pixels: 1254 wide in one row of 98: far too flat.
    std::vector<SIZE> faces(12, SIZE{100, 50});
    const ConverterLayout layout = LayoutConverter(faces, SIZE{90, 20});
    ASSERT_GT(layout.rows, 1);
    int placed = 0;
    for (const auto& c : layout.columns) placed += c.placed ? 1 : 0;
    EXPECT_EQ(placed, 12);
    // Rows are F + 2P + 23 apart; the first column of the second row starts
    // below the first row.
    int secondRowTop = 0;
    for (const auto& c : layout.columns) {
        if (c.face.top > layout.columns[0].face.top) {
            secondRowTop = c.face.top;
            break;
        }
    }
    EXPECT_EQ(secondRowTop - layout.columns[0].face.top, 50 + 40 + 23);
    // No column sticks out of the dialog.
    for (const auto& c : layout.columns) {
        EXPECT_GE(c.face.left, 0);
        EXPECT_LE(c.face.right, layout.client.cx);
        EXPECT_LE(c.timePicker.y + 20, layout.client.cy);
    }
}

TEST(ConverterLayout, ShortFaceIsCentredVerticallyInTheRow) {
    const ConverterLayout layout = LayoutConverter({SIZE{60, 40}, SIZE{60, 20}}, SIZE{50, 20});
    ASSERT_EQ(layout.rows, 1);
    EXPECT_EQ(layout.columns[1].face.top, 10 + 10);
    EXPECT_EQ(layout.columns[0].datePicker.y, layout.columns[1].datePicker.y);
}

TEST(ConverterText, TimePictureLosesItsSeconds) {
    EXPECT_EQ(StripSecondsFromTimePicture(L"h:mm:ss tt"), L"h:mm tt");
    EXPECT_EQ(StripSecondsFromTimePicture(L"HH:mm:ss"), L"HH:mm");
    EXPECT_EQ(StripSecondsFromTimePicture(L"HH.mm.ss"), L"HH.mm");
    EXPECT_EQ(StripSecondsFromTimePicture(L"tt hh:mm:ss"), L"tt hh:mm");
    EXPECT_EQ(StripSecondsFromTimePicture(L"H'h'mm"), L"H'h'mm");
    EXPECT_EQ(StripSecondsFromTimePicture(L"HH 'uss' mm"), L"HH 'uss' mm");
    EXPECT_EQ(StripSecondsFromTimePicture(nullptr), L"");
}

TEST(ConverterText, AmpersandsSurviveTheTooltipsPrefixProcessing) {
    EXPECT_EQ(EscapeTipAmpersands(L"A&B"), L"A&&&B");
    EXPECT_EQ(EscapeTipAmpersands(L"A&&B"), L"A&&&&&B");
    EXPECT_EQ(EscapeTipAmpersands(L"plain"), L"plain");
}

TEST(ConverterText, TipHoldsTitleDateAndActiveProfileWithinItsLimit) {
    ClockRecord clock{};
    clock.enabled = 1;
    CopyBounded(clock.prefix, L"Berlin");
    CopyBounded(clock.label, L"Berlin");
    CopyBounded(clock.location, L"Berlin");
    clock.profilesEnabled = 1;
    clock.profileCount = 1;
    clock.profiles[0].enabled = 1;
    clock.profiles[0].fromMinute = 9 * 60;
    clock.profiles[0].toMinute = 17 * 60;
    clock.profiles[0].weekdayMask = 0x7F;
    CopyBounded(clock.profiles[0].name, L"Office");
    const SYSTEMTIME noon = timetools_tests::Utc(2030, 1, 15, 12, 0);
    const std::wstring tip = ConverterTipText(clock, noon);
    EXPECT_NE(tip.find(L"2030"), std::wstring::npos);
    EXPECT_EQ(tip.substr(tip.size() - 6), L"Office");
    const std::wstring evening = ConverterTipText(clock, timetools_tests::Utc(2030, 1, 15, 20, 0));
    EXPECT_EQ(evening.find(L"Office"), std::wstring::npos);

    // A long title is cut so that the date line still fits; the whole tip
    // never passes 77 characters.
    std::wstring longName(70, L'x');
    CopyBounded(clock.location, longName.c_str());
    CopyBounded(clock.prefix, longName.c_str());
    CopyBounded(clock.profiles[0].name, longName.c_str());
    const std::wstring cut = ConverterTipText(clock, noon);
    EXPECT_LE(cut.size(), kConverterTipChars);
    EXPECT_NE(cut.find(L"2030"), std::wstring::npos);
}
