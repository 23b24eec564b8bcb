#include "tests/photos/photo_fixture.h"

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/settings/photo_cache_paths.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "tempovia/photos/photo_service.h"
#include "tempovia/photos/photo_worker.h"

int PhotoTest::starts_ = 0;
bool PhotoTest::startResult_ = true;
int64_t PhotoTest::now_ = kTestEpoch;

void PhotoTest::SetUp() {
    starts_ = 0;
    startResult_ = true;
    now_ = kTestEpoch;
    SetPhotoWorkerStarter([] {
        ++starts_;
        return startResult_;
    });
    SetPhotoClock([] { return now_; });
    SetCityPhotoRoot(root().c_str());
    // Nothing may leave the machine: an address where nothing listens.
    const std::string nowhere = "http://127.0.0.1:" + std::to_string(UnusedTcpPort());
    SetPhotoService(nowhere + "/cms/", nowhere);
    g_settings.vistrel = 1;
    g_settings.runFlags = 0;
    SetCities({{L"Berlin", L"Germany"}, {L"Hamburg", L"Germany"}, {L"São Paulo", L"Brazil"}, {L"Paris", L"France"}});
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
}

void PhotoTest::StopStandInWorker() {
    PhotoRequest none;
    ThePhotoQueue().newest(none, false);
}

void PhotoTest::TearDown() {
    StopStandInWorker();
    SetPhotoWorkerStarter(nullptr);
    SetPhotoClock(nullptr);
    SetPhotoService("", "");
    SetCityPhotoRoot(nullptr);
    g_cities = CityTable{};
    g_settings.vistrel = 0;
    if (window_) DestroyWindow(window_);
}

void PhotoTest::SetCities(const std::vector<std::pair<std::wstring, std::wstring>>& cities) {
    cities_.assign(cities.size(), CityRecord{});
    for (size_t i = 0; i < cities.size(); ++i) {
        CopyBounded(cities_[i].city, cities[i].first.c_str());
        CopyBounded(cities_[i].region, cities[i].second.c_str());
    }
    g_cities.cities = cities_.data();
    g_cities.count = static_cast<int>(cities_.size());
    g_cities.capacity = g_cities.count;
}

std::wstring PhotoTest::cityFolder(const std::wstring& country, const std::wstring& city) const {
    return root() + L"\\" + country + (city.empty() ? L"" : L"\\" + city);
}

void PhotoTest::WriteDated(const std::wstring& path, const std::string& bytes, int64_t written) {
    ASSERT_TRUE(testing_support::WriteBytes(path, bytes));
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME time{static_cast<DWORD>(written), static_cast<DWORD>(static_cast<uint64_t>(written) >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

std::vector<PhotoReply> PhotoTest::TakeReplies() {
    std::vector<PhotoReply> replies;
    MSG msg;
    while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) {
        if (msg.message >= WM_APP) {
            replies.push_back({msg.message, static_cast<INT_PTR>(msg.wParam), msg.lParam});
        }
    }
    return replies;
}

PhotoRequest PhotoTest::Request(int cityIndex) {
    PhotoRequest r{};
    const int index = cityIndex < 0 ? -cityIndex : cityIndex;
    r.requester = window_;
    r.cityIndex = index;
    CopyBounded(r.country, cities_[static_cast<size_t>(index)].region);
    if (cityIndex >= 0) CopyBounded(r.city, cities_[static_cast<size_t>(index)].city);
    return r;
}
