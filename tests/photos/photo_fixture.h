// A private photo cache, city table and requester window for the photo tests;
// the worker is not started on its own unless a test asks for it.
#pragma once

#include "tests/support/http_responder.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/records/city_record.h"
#include "tempovia/photos/photo_request.h"
#include "tests/support/test_support.h"

struct PhotoReply {
    UINT message;
    INT_PTR wParam;
    LPARAM lParam;
};

class PhotoTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The stand-in starter runs no worker: ends the serving the queue counts on,
    // as a worker that finds the queue empty does.
    static void StopStandInWorker();

    // Replaces the city table: (city, region) pairs.
    void SetCities(const std::vector<std::pair<std::wstring, std::wstring>>& cities);
    std::wstring root() const { return dir_.path() + L"\\Dravik\\Vistrel"; }
    std::wstring cityFolder(const std::wstring& country, const std::wstring& city) const;
    // Writes a file with its last write time set to `written` (FILETIME units).
    void WriteDated(const std::wstring& path, const std::string& bytes, int64_t written);
    std::vector<PhotoReply> TakeReplies();
    PhotoRequest Request(int cityIndex);  // as the queue would hold it

    static int starts_;
    static bool startResult_;
    static int64_t now_;
    testing_support::TempDir dir_;
    HWND window_ = nullptr;
    std::vector<CityRecord> cities_;
};

inline constexpr int64_t kSecond = 10000000;
// 1 June 2024, 12:00 UTC in FILETIME units.
inline constexpr int64_t kTestEpoch = 133617456000000000;
