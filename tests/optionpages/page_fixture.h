// Pages of the settings program created headless from res_en.dll in a
// private program folder, under a host window that stands in for the main
// settings dialog: it answers the clock record and records change notices.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "tests/support/test_support.h"

namespace optionpages_test {

class PageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The page of the resource library's dialog `id` with the procedure.
    HWND CreatePage(UINT id, DLGPROC proc);
    // WM_PAGE_EXCHANGE: load (0) or store (1); a store answers the failed control.
    HWND Exchange(HWND page, WPARAM direction, void* record);
    // WM_PAGE_CHANGED flags the host received so far (pumps first).
    std::vector<WPARAM> Changes();
    // MSG_LANGUAGE_CHANGED notices the host received.
    int LanguageNotices() const;
    // Text of a control.
    static std::wstring Text(HWND page, int id);
    // Writes an 8-bit file into the folder.
    void WriteFile(const wchar_t* name, const std::string& bytes);
    std::wstring Ini() const;

    testing_support::TempDir dir_;
    HWND host_ = nullptr;
    ClockRecord clock_ = {};
    bool hostHasClock_ = true;
    GlobalSettings savedSettings_ = {};
};

void Pump();

}  // namespace optionpages_test
