// Pages made from the English resource library inside a recording parent,
// with the shipped zone and city tables.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "settings/page_clock_services.h"
#include "tests/support/test_support.h"

namespace clockpages_test {

class PageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A page of that resource, driven by the given procedure.
    HWND Create(UINT resource, DLGPROC proc);
    void Load(HWND page, ClockRecord& record);
    // The control that failed, or null.
    HWND Store(HWND page, ClockRecord& record);
    // The wParams of the WM_PAGE_CHANGED notices that reached the parent.
    std::vector<WPARAM> Changes();
    static void Pump();

    std::wstring Text(HWND page, int id);
    void SetText(HWND page, int id, const wchar_t* text);
    void Click(HWND page, int id);

    testing_support::TempDir dir_;
    HWND parent_ = nullptr;
    HWND page_ = nullptr;
    ClockPageServices oldServices_;
};

// A zeroed record of a clock of that kind.
ClockRecord MakeRecord(uint32_t kind);
// Index of a zone with, or without, a daylight rule (not the local zone).
int ZoneWithDaylight(bool daylight);

}  // namespace clockpages_test
