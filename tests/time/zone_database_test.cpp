// timezones.txt in its real format: what loads, what is skipped, how bad
// input is survived, and how lookups and the registry's names behave.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_line.h"
#include "common/zones/zone_registry.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// The fields of one line in file order (see the loader for their meaning).
struct Line {
    std::string id = "9001", key = "Test Eastern Zone", display = "(UTC-05:00) Test Eastern", bias = "300";
    std::string stdName = "Test Eastern Std", stdBias = "0", stdYear = "0", stdMonth = "11", stdDay = "1",
                stdWeekday = "0", stdWeek = "1", stdTime = "2:00:00";
    std::string dltName = "Test Eastern Dlt", dltBias = "-60", dltYear = "0", dltMonth = "3", dltDay = "2",
                dltWeekday = "0", dltWeek = "2", dltTime = "2:00:00";

    std::string Text() const {
        const std::string* f[] = {&id,      &key,     &display, &bias,       &stdName,    &stdBias,  &stdYear,
                                  &stdMonth, &stdDay, &stdWeekday, &stdWeek, &stdTime,    &dltName, &dltBias,
                                  &dltYear, &dltMonth, &dltDay,  &dltWeekday, &dltWeek, &dltTime};
        std::string s;
        for (size_t i = 0; i < std::size(f); ++i) {
            if (i) s += '\t';
            s += *f[i];
        }
        return s;
    }
};

bool Parse(const std::string& text, ZoneRecord* out) {
    std::memset(out, 0xCC, sizeof *out);
    return ParseZoneLine(text.c_str(), out);
}

bool AllZero(const SYSTEMTIME& t) {
    static const SYSTEMTIME zero{};
    return std::memcmp(&t, &zero, sizeof t) == 0;
}

bool Terminated(const wchar_t* field, size_t chars) { return wmemchr(field, L'\0', chars) != nullptr; }

void ExpectFieldsTerminated(const ZoneRecord& r) {
    EXPECT_TRUE(Terminated(r.StandardName, std::size(r.StandardName)));
    EXPECT_TRUE(Terminated(r.DaylightName, std::size(r.DaylightName)));
    EXPECT_TRUE(Terminated(r.displayName, std::size(r.displayName)));
    EXPECT_TRUE(Terminated(r.key, std::size(r.key)));
}

class ZoneDatabase : public testing::Test {
protected:
    void SetUp() override { FreeZoneTables(); }
    void TearDown() override { FreeZoneTables(); }

    bool Load(const std::string& content) {
        path_ = dir_.file(L"timezones.txt");
        EXPECT_TRUE(WriteBytes(path_, content));
        return LoadZoneDatabase(path_.c_str());
    }
    const ZoneRecord& At(int i) { return g_zones.live[i]; }

    TempDir dir_;
    std::wstring path_;
};

std::string RegistryText(const wchar_t* zone, const wchar_t* value) {
    wchar_t buf[256];
    DWORD bytes = sizeof buf;
    std::wstring sub = std::wstring(kTimeZonesKey) + L"\\" + zone;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, sub.c_str(), value, RRF_RT_REG_SZ, nullptr, buf, &bytes) != ERROR_SUCCESS)
        return "";
    std::string s;
    for (const wchar_t* p = buf; *p; ++p) s += static_cast<char>(*p);
    return s;
}

std::string Narrow(const wchar_t* w) {
    std::string s;
    for (; *w; ++w) s += static_cast<char>(*w);
    return s;
}

}  // namespace

TEST(ZoneLine, ReadsEveryFieldOfARecurringRule) {
    ZoneRecord r;
    ASSERT_TRUE(Parse(Line().Text() + "\r\n", &r));
    EXPECT_EQ(r.id, 9001);
    EXPECT_STREQ(r.key, L"Test Eastern Zone");
    EXPECT_STREQ(r.displayName, L"(UTC-05:00) Test Eastern");
    EXPECT_EQ(r.Bias, 300);
    EXPECT_STREQ(r.StandardName, L"Test Eastern Std");
    EXPECT_STREQ(r.DaylightName, L"Test Eastern Dlt");
    EXPECT_EQ(r.StandardBias, 0);
    EXPECT_EQ(r.DaylightBias, -60);
    EXPECT_EQ(r.StandardDate.wMonth, 11);
    EXPECT_EQ(r.StandardDate.wDay, 1);
    EXPECT_EQ(r.StandardDate.wHour, 2);
    EXPECT_EQ(r.standardWeek, 1);
    EXPECT_EQ(r.DaylightDate.wMonth, 3);
    EXPECT_EQ(r.DaylightDate.wDay, 2);
    EXPECT_EQ(r.DaylightDate.wHour, 2);
    EXPECT_EQ(r.daylightWeek, 2);
    EXPECT_EQ(r.cityCount, 0);
}

TEST(ZoneLine, FieldCountMustBeTwenty) {
    ZoneRecord r;
    std::string text = Line().Text();
    // 19 fields and a TAB before the line end: the empty 20th does not count.
    std::string nineteen = text.substr(0, text.rfind('\t') + 1);
    EXPECT_FALSE(Parse(nineteen + "\r\n", &r));
    EXPECT_FALSE(Parse(nineteen, &r));
    // An empty field in the middle still counts.
    Line empty;
    empty.stdName = "";
    EXPECT_TRUE(Parse(empty.Text(), &r));
    EXPECT_STREQ(r.StandardName, L"");
    // 21 fields: the first 20 are used.
    EXPECT_TRUE(Parse(text + "\textra junk\t\t", &r));
    EXPECT_EQ(r.DaylightDate.wHour, 2);
    EXPECT_FALSE(Parse("", &r));
    EXPECT_FALSE(Parse("# " + text, &r));
    EXPECT_FALSE(Parse(";" + text, &r));
    EXPECT_FALSE(Parse("1\t2\t3", &r));
}

TEST(ZoneLine, IdKeyDisplayAndBiasMustPass) {
    ZoneRecord r;
    Line l;
    l.id = "";
    EXPECT_FALSE(Parse(l.Text(), &r));
    l.id = "abc";
    EXPECT_FALSE(Parse(l.Text(), &r));
    l.id = "99999999999";  // does not fit
    EXPECT_FALSE(Parse(l.Text(), &r));
    l.id = "12x";  // read from the start of the field
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.id, 12);
    l = Line();
    l.key = "";
    EXPECT_FALSE(Parse(l.Text(), &r));
    l = Line();
    l.display = "";
    EXPECT_FALSE(Parse(l.Text(), &r));
    l = Line();
    l.bias = "";
    EXPECT_FALSE(Parse(l.Text(), &r));
    l.bias = "-";
    EXPECT_FALSE(Parse(l.Text(), &r));
    l.bias = " -330";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.Bias, -330);
}

TEST(ZoneLine, NumbersAreReadInsideTheirOwnField) {
    ZoneRecord r;
    Line l;
    // An empty bias is 0, not the year in the next field.
    l.stdBias = "";
    l.stdYear = "2010";
    l.stdWeek = "0";
    l.stdDay = "7";
    l.dltBias = "";
    l.dltYear = "2010";
    l.dltWeek = "0";
    l.dltDay = "14";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.StandardBias, 0);
    EXPECT_EQ(r.DaylightBias, 0);
    EXPECT_EQ(r.StandardDate.wYear, 2010);
    EXPECT_EQ(r.StandardDate.wDay, 7);
    EXPECT_EQ(r.DaylightDate.wDay, 14);
    // An empty week field is no week, not the time in the next field.
    l = Line();
    l.stdWeek = "";
    l.stdTime = "3:00:00";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.standardWeek, 0);
    EXPECT_EQ(r.StandardDate.wDay, 1);
    EXPECT_EQ(r.StandardDate.wHour, 3);
}

TEST(ZoneLine, WeeksOfRecurringAndFixedRules) {
    ZoneRecord r;
    Line l;
    l.stdWeek = "-1";
    l.stdDay = "0";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.standardWeek, -1);
    EXPECT_EQ(r.StandardDate.wDay, 5);
    l.stdDay = "3";
    for (std::string bad : {"0", "6", "-2", "x"}) {
        l.stdWeek = bad;
        ASSERT_TRUE(Parse(l.Text(), &r));
        EXPECT_EQ(r.standardWeek, 0) << bad;
        EXPECT_EQ(r.StandardDate.wDay, 3) << bad;
    }
    // A dated rule keeps its own day even with a valid week.
    l = Line();
    l.stdYear = "2024";
    l.stdDay = "25";
    l.stdWeek = "-1";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.StandardDate.wYear, 2024);
    EXPECT_EQ(r.StandardDate.wDay, 25);
    EXPECT_EQ(r.standardWeek, -1);
}

TEST(ZoneLine, TimesOfDayMustBeValid) {
    ZoneRecord r;
    Line l;
    l.stdTime = "24:00:00";
    l.dltTime = "23:59:59";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.StandardDate.wHour, 0);
    EXPECT_EQ(r.StandardDate.wMinute, 0);
    EXPECT_EQ(r.StandardDate.wSecond, 0);
    EXPECT_EQ(r.DaylightDate.wHour, 23);
    EXPECT_EQ(r.DaylightDate.wMinute, 59);
    EXPECT_EQ(r.DaylightDate.wSecond, 59);
    for (std::string bad : {"2:60:00", "2:00:60", "-1:00:00", "2:-5:00", "2:00", "2", " ", "2:123:00", "x:00:00"}) {
        l.dltTime = bad;
        ASSERT_TRUE(Parse(l.Text(), &r)) << bad;
        EXPECT_EQ(r.DaylightDate.wHour, 0) << bad;
        EXPECT_EQ(r.DaylightDate.wMinute, 0) << bad;
        EXPECT_EQ(r.DaylightDate.wSecond, 0) << bad;
    }
    l.dltTime = "1:30:15";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(r.DaylightDate.wHour, 1);
    EXPECT_EQ(r.DaylightDate.wMinute, 30);
    EXPECT_EQ(r.DaylightDate.wSecond, 15);
}

TEST(ZoneLine, WithoutADaylightSideThereIsNoRuleAtAll) {
    ZoneRecord r;
    for (std::string month : {"0", "13", "", "-3", "x"}) {
        Line l;
        l.dltMonth = month;
        l.stdBias = "-15";
        ASSERT_TRUE(Parse(l.Text(), &r)) << month;
        EXPECT_TRUE(AllZero(r.StandardDate)) << month;
        EXPECT_TRUE(AllZero(r.DaylightDate)) << month;
        EXPECT_EQ(r.StandardBias, -15) << month;
        EXPECT_EQ(r.DaylightBias, 0) << month;
    }
    // A bad standard month leaves both sides out.
    Line l;
    l.stdMonth = "13";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_TRUE(AllZero(r.StandardDate));
    EXPECT_TRUE(AllZero(r.DaylightDate));
    EXPECT_EQ(r.daylightWeek, 0);
}

TEST(ZoneLine, LongTextsAreCutInsideTheirFields) {
    ZoneRecord r;
    Line l;
    l.key = std::string(100, 'k');
    l.display = std::string(400, 'd');
    l.stdName = std::string(64, 's');
    l.dltName = std::string(33, 'l');
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_EQ(wcslen(r.key), 39u);
    EXPECT_EQ(wcslen(r.displayName), 127u);
    EXPECT_EQ(wcslen(r.StandardName), 31u);
    EXPECT_EQ(wcslen(r.DaylightName), 31u);
    EXPECT_EQ(r.id, 9001);  // nothing spilled over the fields behind
    EXPECT_EQ(r.cityCount, 0);
    // Each byte is one character.
    l = Line();
    l.display = "Z\xFCrich";
    ASSERT_TRUE(Parse(l.Text(), &r));
    EXPECT_STREQ(r.displayName, L"Z\u00FCrich");
}

TEST_F(ZoneDatabase, LoadsTheFileAfterTheLocalZone) {
    Line south;
    south.id = "9002";
    south.key = "Test Southern Zone";
    south.display = "(UTC+10:00) Test Southern";
    south.bias = "-600";
    south.stdMonth = "4";
    south.stdTime = "3:00:00";
    south.dltMonth = "10";
    south.dltWeek = "1";
    Line fixed;
    fixed.id = "9003";
    fixed.key = "Test Fixed Zone";
    fixed.display = "(UTC+02:00) Test Fixed";
    fixed.bias = "-120";
    fixed.stdYear = "2024";
    fixed.stdMonth = "10";
    fixed.stdDay = "25";
    fixed.stdWeekday = "5";
    fixed.stdTime = "3:00:00";
    fixed.dltYear = "2024";
    fixed.dltDay = "29";
    fixed.dltWeekday = "5";
    std::string file = "# id\tkey\tdisplay ...\r\n; another comment\r\n\r\n" + Line().Text() + "\r\n" +
                       south.Text() + "\r\n" + fixed.Text() + "\n";
    ASSERT_TRUE(Load(file));
    ASSERT_EQ(g_zones.count, 4);
    EXPECT_STREQ(At(0).key, kLocalSystemTimeKey);
    EXPECT_STREQ(At(0).displayName, kLocalSystemTimeKey);
    EXPECT_EQ(At(0).id, 0);
    EXPECT_EQ(At(1).id, 9001);
    EXPECT_EQ(At(2).Bias, -600);
    EXPECT_EQ(At(2).DaylightDate.wMonth, 10);
    EXPECT_EQ(At(2).DaylightDate.wDay, 1);
    EXPECT_EQ(At(2).StandardDate.wHour, 3);
    EXPECT_EQ(At(3).StandardDate.wYear, 2024);
    EXPECT_EQ(At(3).StandardDate.wDay, 25);
    EXPECT_EQ(At(3).DaylightDate.wDay, 29);
    ASSERT_NE(g_zones.pristine, nullptr);
    EXPECT_EQ(std::memcmp(g_zones.pristine, g_zones.live, 4 * sizeof(ZoneRecord)), 0);

    // A second load changes nothing.
    EXPECT_FALSE(LoadZoneDatabase(path_.c_str()));
    EXPECT_EQ(g_zones.count, 4);
}

TEST_F(ZoneDatabase, MissingOrEmptyFileLeavesTheLocalZoneOnly) {
    EXPECT_FALSE(LoadZoneDatabase(dir_.file(L"no such file.txt").c_str()));
    EXPECT_EQ(g_zones.count, 1);
    ASSERT_NE(g_zones.live, nullptr);
    EXPECT_STREQ(At(0).key, kLocalSystemTimeKey);
    ASSERT_NE(g_zones.pristine, nullptr);
    EXPECT_STREQ(g_zones.pristine[0].key, kLocalSystemTimeKey);
    FreeZoneTables();
    EXPECT_FALSE(Load(""));
    EXPECT_EQ(g_zones.count, 1);
    FreeZoneTables();
    EXPECT_FALSE(LoadZoneDatabase(nullptr));
    EXPECT_EQ(g_zones.count, 1);
    FreeZoneTables();
    EXPECT_EQ(g_zones.live, nullptr);
    EXPECT_EQ(g_zones.pristine, nullptr);
    EXPECT_EQ(g_zones.count, 0);
}

TEST_F(ZoneDatabase, MalformedLinesAreSkippedAndTheRestLoads) {
    Line good;
    Line second = good;
    second.id = "9010";
    second.key = "Second Good";
    std::string text = good.Text();
    std::string file;
    file += "9100\tShort\tline\r\n";
    file += text.substr(0, text.rfind('\t') + 1) + "\r\n";  // 19 fields and a TAB
    file += "nan\tKey\tDisplay" + text.substr(text.find("\t300")) + "\r\n";
    file += "9101\tKey\tDisplay\tbias!" + text.substr(text.find("\t300") + 4) + "\r\n";
    file += text + "\r\n";
    // An over-long line: its tail must not be read as a line of its own.
    file += "#" + std::string(2100, 'x') + "9102\tTail Key\tTail" + text.substr(text.find("\t300")) + "\r\n";
    file += std::string(5000, '\t') + "\r\n";
    file += "9103\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n";  // 20 empty fields
    file += std::string("\x01\x02\x7f\xff\t\xfe", 6) + "\r\n";
    file += second.Text() + "\tand\tjunk\tbehind\r\n";
    // Good id, key, name and Bias, junk everywhere else: a zone without rules.
    file += "9104\tJunk Key\tJunk\t60";
    for (int i = 0; i < 16; ++i) file += "\t#junk!";
    file += "\r\n";
    ASSERT_TRUE(Load(file));
    ASSERT_EQ(g_zones.count, 4);
    EXPECT_EQ(At(1).id, 9001);
    EXPECT_EQ(At(2).id, 9010);
    EXPECT_EQ(At(3).id, 9104);
    EXPECT_EQ(At(3).Bias, 60);
    EXPECT_TRUE(AllZero(At(3).StandardDate));
    EXPECT_TRUE(AllZero(At(3).DaylightDate));
    EXPECT_EQ(At(3).StandardBias, 0);
    EXPECT_STREQ(At(3).StandardName, L"#junk!");
    EXPECT_EQ(FindZoneById(9102), -1);
    EXPECT_EQ(FindZoneById(9103), -1);
    for (int i = 0; i < g_zones.count; ++i) ExpectFieldsTerminated(At(i));
}

TEST_F(ZoneDatabase, IdsOfZeroAndBelowAreRefusedWithTheirFileLine) {
    // 0 is the computer's own entry and -1 a clock's missing zone: a line
    // taking either would be mistaken for them.
    Line good, zero = good, missing = good;
    zero.id = "0";
    zero.key = "Zero Zone";
    missing.id = "-1";
    missing.key = "Missing Zone";
    ASSERT_TRUE(Load("# comment\r\n" + zero.Text() + "\r\n\r\n" + missing.Text() + "\r\n" + good.Text() + "\r\n"));
    ASSERT_EQ(g_zones.count, 2);
    EXPECT_EQ(At(1).id, 9001);
    EXPECT_EQ(FindZoneByName(L"Zero Zone"), -1);
    EXPECT_EQ(FindZoneByName(L"Missing Zone"), -1);
    EXPECT_EQ(FindZoneById(kMissingZoneId), -1);
    EXPECT_EQ(g_zones.errors,
              L"timezones.txt, line 2: zone id 0 is not above 0; the line is skipped.\n"
              L"timezones.txt, line 4: zone id -1 is not above 0; the line is skipped.\n");
    FreeZoneTables();
    EXPECT_TRUE(g_zones.errors.empty());
}

TEST_F(ZoneDatabase, BinaryBytesNeverReadOrWriteOutOfBounds) {
    std::string junk;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        char c = static_cast<char>(seed >> 16);
        // Plenty of separators and line ends, and no end-of-text mark, so
        // that the whole file is read.
        if ((seed >> 8) % 7 == 0) c = '\t';
        if ((seed >> 8) % 97 == 0) c = '\n';
        if (c == '\x1a') c = '\0';
        junk += c;
    }
    // One valid line hidden in the middle still loads.
    junk += "\n" + Line().Text() + "\n";
    junk += std::string(300, '\0');
    EXPECT_TRUE(Load(junk));
    ASSERT_GE(g_zones.count, 2);
    EXPECT_NE(FindZoneById(9001), -1);
    for (int i = 0; i < g_zones.count; ++i) ExpectFieldsTerminated(At(i));
}

TEST_F(ZoneDatabase, TableGrowsPastItsFirstSize) {
    std::string file;
    for (int i = 0; i < 300; ++i) {
        Line l;
        l.id = std::to_string(1000 + i);
        l.key = "Zone " + std::to_string(i);
        file += l.Text() + "\n";
    }
    ASSERT_TRUE(Load(file));
    ASSERT_EQ(g_zones.count, 301);
    EXPECT_GE(g_zones.capacity, 301);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(FindZoneById(1000 + i), i + 1);
    EXPECT_STREQ(At(300).key, L"Zone 299");
    EXPECT_EQ(std::memcmp(g_zones.pristine, g_zones.live, 301 * sizeof(ZoneRecord)), 0);
}

TEST_F(ZoneDatabase, RegistryNamesWinWhereTheKeyMatches) {
    Line tokyo;
    tokyo.id = "235";
    tokyo.key = "Tokyo Standard Time";
    tokyo.display = "File display of Tokyo";
    tokyo.bias = "-540";
    tokyo.stdName = "File Std";
    tokyo.dltName = "File Dlt";
    tokyo.dltMonth = "0";
    Line own;
    own.key = "Not A Registry Zone";
    ASSERT_TRUE(Load(tokyo.Text() + "\n" + own.Text() + "\n"));
    ASSERT_EQ(g_zones.count, 3);
    std::string display = RegistryText(L"Tokyo Standard Time", L"Display");
    ASSERT_FALSE(display.empty());
    EXPECT_EQ(Narrow(At(1).displayName), display);
    EXPECT_EQ(Narrow(At(1).StandardName), RegistryText(L"Tokyo Standard Time", L"Std"));
    EXPECT_EQ(Narrow(At(1).DaylightName), RegistryText(L"Tokyo Standard Time", L"Dlt"));
    EXPECT_EQ(At(1).Bias, -540);  // the rule stays the file's
    EXPECT_STREQ(At(2).displayName, L"(UTC-05:00) Test Eastern");
    EXPECT_STREQ(At(2).StandardName, L"Test Eastern Std");

    ZoneRecord r = At(2);
    EXPECT_FALSE(ReadZoneRegistryNames(r));
    EXPECT_STREQ(r.displayName, L"(UTC-05:00) Test Eastern");
}

TEST_F(ZoneDatabase, LookupsSearchFromTheEnd) {
    Line a, b, c;
    a.id = "7";
    a.key = "Same Key";
    a.display = "Same Display";
    b.id = "8";
    b.key = "Other";
    c.id = "7";
    c.key = "Same Key";
    c.display = "Same Display";
    ASSERT_TRUE(Load(a.Text() + "\n" + b.Text() + "\n" + c.Text() + "\n"));
    EXPECT_EQ(FindZoneById(7), 3);
    EXPECT_EQ(FindZoneById(8), 2);
    EXPECT_EQ(FindZoneById(0), 0);
    EXPECT_EQ(FindZoneById(99), -1);
    EXPECT_EQ(FindZoneById(g_zones.pristine, 2, 7), 1);
    EXPECT_EQ(FindZoneById(nullptr, 5, 7), -1);
    EXPECT_EQ(FindZoneByName(L"Same Key"), 3);
    EXPECT_EQ(FindZoneByName(L"same key"), -1);  // case matters
    EXPECT_EQ(FindZoneByName(L"Same"), -1);
    EXPECT_EQ(FindZoneByName(L"Same Key "), -1);
    EXPECT_EQ(FindZoneByName(kLocalSystemTimeKey), 0);
    EXPECT_EQ(FindZoneByName(nullptr), 0);
    EXPECT_EQ(FindZoneByDisplayName(L"Same Display"), 3);
    EXPECT_EQ(FindZoneByDisplayName(L"Nothing"), -1);
    EXPECT_EQ(FindZoneByDisplayName(nullptr), 0);

    FreeZoneTables();
    EXPECT_EQ(FindZoneByName(L"Same Key"), 0);
    EXPECT_EQ(FindZoneByDisplayName(L"Same Display"), 0);
    EXPECT_EQ(FindZoneById(7), -1);
}

TEST(ZoneRegistry, StringsAreBoundedByTheirBuffers) {
    std::wstring tokyo = std::wstring(kTimeZonesKey) + L"\\Tokyo Standard Time";
    wchar_t buf[256];
    int bytes = ReadRegistryString(tokyo.c_str(), L"Std", buf, 256);
    EXPECT_STREQ(buf, L"Tokyo Standard Time");
    EXPECT_EQ(bytes, static_cast<int>((wcslen(L"Tokyo Standard Time") + 1) * sizeof(wchar_t)));

    wchar_t small[8];
    wmemset(small, L'#', 8);
    EXPECT_EQ(ReadRegistryString(tokyo.c_str(), L"Std", small, 8), 0);
    EXPECT_STREQ(small, L"");
    // Exactly its length plus the terminator fits.
    wchar_t exact[20];
    EXPECT_GT(ReadRegistryString(tokyo.c_str(), L"Std", exact, 20), 0);
    EXPECT_STREQ(exact, L"Tokyo Standard Time");

    CopyBounded(buf, L"old");
    EXPECT_EQ(ReadRegistryString(tokyo.c_str(), L"No Such Value", buf, 256), 0);
    EXPECT_STREQ(buf, L"");
    CopyBounded(buf, L"old");
    EXPECT_EQ(ReadRegistryString(tokyo.c_str(), L"TZI", buf, 256), 0);  // binary, not text
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(ReadRegistryString(L"Software\\No\\Such\\Key", L"Std", buf, 256), 0);
    EXPECT_EQ(ReadRegistryString(tokyo.c_str(), L"Std", nullptr, 256), 0);
    EXPECT_EQ(ReadRegistryString(tokyo.c_str(), L"Std", buf, 0), 0);

    // The switch is not in a fresh prefix.
    EXPECT_EQ(ReadAutoDaylightDisabled(), 0u);
}

TEST(ZoneRegistry, KeyOfAStandardName) {
    wchar_t buf[256];
    EXPECT_EQ(FindZoneKeyByStdName(L"AUS Eastern Standard Time", buf, 256), 25);
    EXPECT_STREQ(buf, L"AUS Eastern Standard Time");
    int n = FindZoneKeyByStdName(L"Tokyo Standard Time", buf, 256, L"Display");
    EXPECT_EQ(Narrow(buf), RegistryText(L"Tokyo Standard Time", L"Display"));
    EXPECT_EQ(n, static_cast<int>(wcslen(buf)));
    EXPECT_EQ(FindZoneKeyByStdName(L"Tokyo Standard Time", buf, 256, L"No Such Value"), 0);
    EXPECT_STREQ(buf, L"");
    CopyBounded(buf, L"old");
    EXPECT_EQ(FindZoneKeyByStdName(L"No Such Standard Time", buf, 256), 0);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(FindZoneKeyByStdName(L"tokyo standard time", buf, 256), 0);
    wchar_t small[6];
    EXPECT_EQ(FindZoneKeyByStdName(L"Tokyo Standard Time", small, 6), 5);
    EXPECT_STREQ(small, L"Tokyo");
}
