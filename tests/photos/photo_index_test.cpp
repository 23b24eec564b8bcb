#include "tests/photos/photo_fixture.h"

#include "tempovia/photos/photo_index.h"
#include "tempovia/photos/photo_service.h"
#include "tempovia/photos/photo_worker.h"
#include "common/settings/photo_cache_paths.h"
#include "common/records/protocol.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

TEST(PhotoIndexLines, CityAndCountryListsTakeTheirOwnFields) {
    PhotoIndexLine line;
    EXPECT_EQ(ParsePhotoIndexLine("17\tx\t/p/17.jpg\tThe gate\t/p/17.htm\r\n", false, line), IndexLineKind::Use);
    EXPECT_EQ(line.number, 17);
    EXPECT_EQ(line.path, "/p/17.jpg");
    EXPECT_EQ(ParsePhotoIndexLine("5\tK\xF6ln\tx\t/p/5.jpg\tDom\n", true, line), IndexLineKind::Use);
    EXPECT_EQ(line.city, L"K\u00F6ln");  // one character a byte
    EXPECT_EQ(line.path, "/p/5.jpg");

    EXPECT_EQ(ParsePhotoIndexLine("# 1\ta\tb\tc\n", false, line), IndexLineKind::Skip);
    EXPECT_EQ(ParsePhotoIndexLine("; 1\ta\tb\tc\n", false, line), IndexLineKind::Skip);
    EXPECT_EQ(ParsePhotoIndexLine("\r\n", false, line), IndexLineKind::Skip);
    EXPECT_EQ(ParsePhotoIndexLine("abc\ta\tb\tc\n", false, line), IndexLineKind::Skip);
    EXPECT_EQ(ParsePhotoIndexLine("0\ta\tb\tc\n", false, line), IndexLineKind::Skip);
    EXPECT_EQ(ParsePhotoIndexLine("99999999999\ta\tb\tc\n", false, line), IndexLineKind::Skip);
    EXPECT_EQ(ParsePhotoIndexLine("3\ta\t\tc\n", false, line), IndexLineKind::Skip);  // no path
    // Too few fields end the reading.
    EXPECT_EQ(ParsePhotoIndexLine("3\ta\tb\n", false, line), IndexLineKind::End);
    EXPECT_EQ(ParsePhotoIndexLine("3\ta\tb\tc\n", true, line), IndexLineKind::End);
}

TEST(PhotoUrls, NamesAreMadeSafeAndEncoded) {
    SetPhotoService("http://127.0.0.1:9/cms/", "http://127.0.0.1:9");
    std::string url;
    ASSERT_TRUE(BuildPhotoIndexUrl(L"Brazil", L"São Paulo", url));
    EXPECT_EQ(url, "http://127.0.0.1:9/cms/Brazil/S%E3o_Paulo/index.tsv");
    ASSERT_TRUE(BuildPhotoIndexUrl(L"Côte d'Ivoire", nullptr, url));
    EXPECT_EQ(url, "http://127.0.0.1:9/cms/C%F4te_d%27Ivoire/index.tsv");
    ASSERT_TRUE(BuildPhotoIndexUrl(L"a/b:c", L"..\\..\\x", url));
    EXPECT_EQ(url, "http://127.0.0.1:9/cms/abc/....x/index.tsv");
    EXPECT_FALSE(BuildPhotoIndexUrl(std::wstring(600, L'a').c_str(), nullptr, url));

    ASSERT_TRUE(BuildPhotoUrl("/p/\xE9t\xE9.jpg", url));
    EXPECT_EQ(url, "http://127.0.0.1:9/p/\xC3\xA9t\xC3\xA9.jpg");
    // A path cannot move the download to another host.
    ASSERT_TRUE(BuildPhotoUrl("@elsewhere.example/x.jpg", url));
    EXPECT_EQ(url, "http://127.0.0.1:9/@elsewhere.example/x.jpg");
    EXPECT_FALSE(BuildPhotoUrl("/" + std::string(600, 'a'), url));
    SetPhotoService("", "");
}

TEST_F(PhotoTest, FoldersNeverLeaveTheCache) {
    wchar_t folder[MAX_PATH];
    ASSERT_TRUE(GetCityPhotoFolderMain(L"Brazil", L"São Paulo", folder, MAX_PATH, false));
    EXPECT_EQ(std::wstring(folder), cityFolder(L"Brazil", L"São Paulo") + L"\\");
    ASSERT_TRUE(GetCityPhotoFolderMain(L"..\\..\\Ger:many", L"B*e?r;lin", folder, MAX_PATH, false));
    EXPECT_EQ(std::wstring(folder), cityFolder(L"....Germany", L"Berlin") + L"\\");
    EXPECT_FALSE(GetCityPhotoFolderMain(L"..", nullptr, folder, MAX_PATH, true));
    EXPECT_FALSE(GetCityPhotoFolderMain(L"Germany", L"..\\", folder, MAX_PATH, true));
    EXPECT_FALSE(GetCityPhotoFolderMain(L". .", nullptr, folder, MAX_PATH, true));
    EXPECT_FALSE(GetCityPhotoFolderMain(L"", L"Berlin", folder, MAX_PATH, true));
    EXPECT_FALSE(GetCityPhotoFolderMain(std::wstring(300, L'x').c_str(), nullptr, folder, MAX_PATH, true));
    EXPECT_STREQ(folder, L"");
    // Creating makes each level below the root.
    CreateDirectoryW((dir_.path() + L"\\Dravik").c_str(), nullptr);
    CreateDirectoryW(root().c_str(), nullptr);
    ASSERT_TRUE(GetCityPhotoFolderMain(L"France", L"Paris", folder, MAX_PATH, true));
    EXPECT_NE(GetFileAttributesW(cityFolder(L"France", L"Paris").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
