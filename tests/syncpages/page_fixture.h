// Pages of the settings program made from res_en.dll in a private folder,
// with the system calls recorded.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace syncpages_test {

class RecordingSystem : public SystemSeam {
public:
    std::vector<DWORD> controls;
    std::vector<DWORD> beeps;
    bool serviceMissing = false;
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) override {
        return reinterpret_cast<HINSTANCE>(33);
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override {
        return reinterpret_cast<SC_HANDLE>(1);
    }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override {
        return serviceMissing ? nullptr : reinterpret_cast<SC_HANDLE>(2);
    }
    BOOL SendServiceControl(SC_HANDLE, DWORD code, SERVICE_STATUS*) override {
        controls.push_back(code);
        return TRUE;
    }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return TRUE; }
    DWORD LastError() override { return ERROR_SERVICE_DOES_NOT_EXIST; }
    BOOL BeepTone(DWORD frequency, DWORD) override {
        beeps.push_back(frequency);
        return TRUE;
    }
};

class PageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a page of the resource library under the owner.
    HWND CreatePage(UINT resource, DLGPROC proc);
    std::wstring Ini() const { return dir_.file(L"tempovia.ini"); }
    void WriteIni(const char* text);
    std::wstring Read(const wchar_t* section, const wchar_t* key) const;
    static void Pump(DWORD ms = 0);
    static std::wstring TextOf(HWND control);

    testing_support::TempDir dir_;
    RecordingSystem system_;
    SystemSeam* oldSeam_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace syncpages_test
