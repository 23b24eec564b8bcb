// The city-photo cache as the taskbar clock reads it: folder names, the
// index.tsv of a city or a country, and the photo picked from it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"
#include "hook/photo_cache.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

CityRecord City(const wchar_t* name, const wchar_t* region) {
    CityRecord c;
    std::memset(&c, 0, sizeof c);
    CopyBounded(c.city, name);
    CopyBounded(c.region, region);
    return c;
}

void MakeFolders(const std::wstring& path) {
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1)) {
        CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
    CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring Safe(const wchar_t* text, bool underscores) {
    std::wstring s(text);
    s.push_back(L'\0');
    MakeFileName(s.data(), underscores);
    return s.c_str();
}

// A photo root in a private folder and a small city table in place of the
// received one.
class PhotoCache : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = dir_.path() + L"\\Dravik\\Vistrel";
        SetCityPhotoRoot(root_.c_str());
        saved_ = g_cities;
        cities_ = {City(L"S\u00e3o Paulo", L"Brazil"), City(L"Rio de Janeiro", L"Brazil"), City(L"Lima", L"Peru"),
                   City(L"Paris", L"France"), City(L"Paris", L"United States")};
        g_cities.cities = cities_.data();
        g_cities.count = static_cast<int>(cities_.size());
        g_cities.capacity = g_cities.count;
    }
    void TearDown() override {
        g_cities = saved_;
        SetCityPhotoRoot(nullptr);
    }

    std::wstring Folder(const std::wstring& region, const std::wstring& city = L"") {
        std::wstring f = root_ + L"\\" + region + L"\\";
        if (!city.empty()) f += city + L"\\";
        return f;
    }
    void Index(const std::wstring& folder, const std::string& text) {
        MakeFolders(folder.substr(0, folder.size() - 1));
        ASSERT_TRUE(WriteBytes(folder + L"index.tsv", text));
    }
    void Photo(const std::wstring& folder, int n) {
        MakeFolders(folder.substr(0, folder.size() - 1));
        ASSERT_TRUE(WriteBytes(folder + std::to_wstring(n) + L".jpg", "jpeg"));
    }

    TempDir dir_;
    std::wstring root_;
    CityTable saved_;
    std::vector<CityRecord> cities_;
};

}  // namespace

TEST(PhotoNames, UnsafeCharactersAreDropped) {
    EXPECT_EQ(Safe(L"N/A", false), L"NA");
    EXPECT_EQ(Safe(L"a*b:c;d?e\\f\x7Fg\x1Fh\ti", false), L"abcdefghi");
    EXPECT_EQ(Safe(L"S\u00e3o Paulo", false), L"S\u00e3o Paulo");
    EXPECT_EQ(Safe(L"S\u00e3o Paulo", true), L"S\u00e3o_Paulo");
    EXPECT_EQ(Safe(L"", true), L"");
    MakeFileName(nullptr, false);
}

TEST_F(PhotoCache, FoldersAndFilesOfACity) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(GetCityPhotoDir(L"Brazil", L"S\u00e3o Paulo", path, MAX_PATH));
    EXPECT_EQ(std::wstring(path), root_ + L"\\Brazil\\S\u00e3o Paulo\\");
    ASSERT_TRUE(GetCityPhotoDir(L"N/A", nullptr, path, MAX_PATH));
    EXPECT_EQ(std::wstring(path), root_ + L"\\NA\\");
    ASSERT_TRUE(GetCityPhotoFile(L"Peru", L"Lima", 42, path, MAX_PATH));
    EXPECT_EQ(std::wstring(path), root_ + L"\\Peru\\Lima\\42.jpg");
    ASSERT_TRUE(GetCityPhotoPath(0, 7, path, MAX_PATH));
    EXPECT_EQ(std::wstring(path), root_ + L"\\Brazil\\S\u00e3o Paulo\\7.jpg");

    // No region, no buffer, a city outside the table, or no room: nothing.
    EXPECT_FALSE(GetCityPhotoDir(nullptr, L"Lima", path, MAX_PATH));
    EXPECT_EQ(path[0], L'\0');
    EXPECT_FALSE(GetCityPhotoDir(L"Peru", L"Lima", nullptr, MAX_PATH));
    EXPECT_FALSE(GetCityPhotoPath(5, 1, path, MAX_PATH));
    EXPECT_FALSE(GetCityPhotoPath(-1, 1, path, MAX_PATH));
    wchar_t small[8] = {L'x'};
    EXPECT_FALSE(GetCityPhotoDir(L"Peru", L"Lima", small, 8));
    EXPECT_EQ(small[0], L'\0');
}

TEST_F(PhotoCache, CitiesAreFoundByNameAndRegion) {
    EXPECT_EQ(FindCityInCountry(L"brazil", L"rio de janeiro"), 1);
    EXPECT_EQ(FindCityInCountry(L"United States", L"Paris"), 4);
    EXPECT_EQ(FindCityInCountry(nullptr, L"Paris"), 3);
    EXPECT_EQ(FindCityInCountry(L"", L"Paris"), 3);
    EXPECT_EQ(FindCityInCountry(L"Peru", L"Paris"), -1);
    EXPECT_EQ(FindCityInCountry(L"Peru", nullptr), -1);
}

TEST_F(PhotoCache, ACitysIndexListsThePhotosOnDisk) {
    const std::wstring lima = Folder(L"Peru", L"Lima");
    Index(lima,
          "# comment\r\n"
          "; another\r\n"
          "\r\n"
          "12\tLima\t/img/12.jpg\tPlaza Mayor\t/page/12\textra\tignored\r\n"
          "13\tLima\t/img/13.jpg\tMissing file\t/page/13\r\n"
          "0\tLima\t/img/0.jpg\tNumber zero\r\n"
          "abc\tLima\t/img/x.jpg\tNot a number\r\n"
          "14\tLima\n");
    Photo(lima, 12);
    Photo(lima, 14);
    Photo(lima, 0);
    std::vector<PhotoIndexEntry> entries;
    ASSERT_EQ(ReadPhotoEntries(L"Peru", L"Lima", entries), 1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 12);
    EXPECT_EQ(entries[0].caption, L"Plaza Mayor");
    EXPECT_EQ(entries[1].number, 14);
    EXPECT_EQ(entries[1].caption, L"");

    wchar_t caption[kPhotoCaptionChars] = {L'x'};
    const int n = ReadPhotoIndex(L"Peru", L"Lima", caption);
    ASSERT_TRUE(n == 12 || n == 14) << n;
    EXPECT_EQ(std::wstring(caption), n == 12 ? L"Plaza Mayor" : L"");
    EXPECT_GT(ReadPhotoIndex(L"Peru", L"Lima", nullptr), 0);
}

TEST_F(PhotoCache, NoIndexOrNothingUsable) {
    wchar_t caption[kPhotoCaptionChars] = {L'x', L'\0'};
    EXPECT_EQ(ReadPhotoIndex(L"Brazil", L"Rio de Janeiro", caption), kNoPhotoIndex);
    EXPECT_EQ(caption[0], L'\0');
    // Every listed photo is missing.
    const std::wstring rio = Folder(L"Brazil", L"Rio de Janeiro");
    Index(rio, "1\tRio\tp\tBeach\n2\tRio\tp\tHill\n");
    EXPECT_EQ(ReadPhotoIndex(L"Brazil", L"Rio de Janeiro", caption), kNoUsablePhoto);
    // An empty index, and a folder named index.tsv.
    Index(rio, "");
    EXPECT_EQ(ReadPhotoIndex(L"Brazil", L"Rio de Janeiro", caption), kNoUsablePhoto);
    const std::wstring lima = Folder(L"Peru", L"Lima");
    MakeFolders(lima + L"index.tsv");
    EXPECT_EQ(ReadPhotoIndex(L"Peru", L"Lima", caption), kNoUsablePhoto);
}

TEST_F(PhotoCache, ACountrysIndexNamesTheCityOfEachPhoto) {
    const std::wstring brazil = Folder(L"Brazil");
    Index(brazil,
          "5\tS\xe3o Paulo\t-\t/img/5.jpg\tAvenida Paulista\t/page/5\n"
          "6\tRio de Janeiro\t-\t/img/6.jpg\tCopacabana\n"
          "7\tRecife\t-\t/img/7.jpg\tNot in the table\n"
          "8\tLima\t-\t/img/8.jpg\tIn another country\n"
          "9\n");
    Photo(Folder(L"Brazil", L"S\u00e3o Paulo"), 5);
    Photo(Folder(L"Brazil", L"Rio de Janeiro"), 6);
    Photo(Folder(L"Brazil", L"Recife"), 7);
    Photo(Folder(L"Brazil", L"Lima"), 8);
    std::vector<PhotoIndexEntry> entries;
    ASSERT_EQ(ReadPhotoEntries(L"Brazil", nullptr, entries), 1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 5);
    EXPECT_EQ(entries[0].caption, L"Avenida Paulista");
    EXPECT_EQ(entries[1].number, 6);
    EXPECT_EQ(entries[1].caption, L"Copacabana");
}

TEST_F(PhotoCache, OnlyTheFirst1024UsableLinesCount) {
    const std::wstring lima = Folder(L"Peru", L"Lima");
    std::string index;
    for (int n = 1; n <= 1500; ++n) {
        index += std::to_string(n) + "\tLima\tp\tPhoto " + std::to_string(n) + "\n";
        Photo(lima, n);
    }
    Index(lima, index);
    std::vector<PhotoIndexEntry> entries;
    ASSERT_EQ(ReadPhotoEntries(L"Peru", L"Lima", entries), 1);
    ASSERT_EQ(entries.size(), static_cast<size_t>(kMaxIndexedPhotos));
    EXPECT_EQ(entries.back().number, 1024);
    for (int i = 0; i < 20; ++i) EXPECT_LE(ReadPhotoIndex(L"Peru", L"Lima", nullptr), 1024);
}

TEST_F(PhotoCache, OverlongLinesAndCaptionsAreBounded) {
    const std::wstring lima = Folder(L"Peru", L"Lima");
    // A line past 4095 characters is passed over whole: its tail, which
    // looks like a line of its own, is not read as one.
    std::string longLine = "3\tLima\tp\t" + std::string(5000, 'a') + "4\tLima\tp\tTail\n";
    Index(lima, longLine + "5\tLima\tp\t" + std::string(300, 'c') + "\n");
    Photo(lima, 3);
    Photo(lima, 4);
    Photo(lima, 5);
    std::vector<PhotoIndexEntry> entries;
    ASSERT_EQ(ReadPhotoEntries(L"Peru", L"Lima", entries), 1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 3);
    EXPECT_EQ(entries[1].number, 5);
    wchar_t caption[kPhotoCaptionChars];
    std::vector<int> seen;
    for (int i = 0; i < 40; ++i) {
        const int n = ReadPhotoIndex(L"Peru", L"Lima", caption);
        EXPECT_LT(wcslen(caption), static_cast<size_t>(kPhotoCaptionChars));
        seen.push_back(n);
    }
    EXPECT_NE(std::find(seen.begin(), seen.end(), 5), seen.end());
}

TEST(PhotoPick, RandomValuesSpreadOverTheEntries) {
    EXPECT_EQ(PickPhotoEntry(4, 0), 0);
    EXPECT_EQ(PickPhotoEntry(4, 16383), 1);
    EXPECT_EQ(PickPhotoEntry(4, 16384), 2);
    EXPECT_EQ(PickPhotoEntry(4, 32767), 3);
    EXPECT_EQ(PickPhotoEntry(1, 32767), 0);
    EXPECT_EQ(PickPhotoEntry(0, 5), -1);
}
