// The INI page: export and import through the page's buttons, the backup
// made before the first import of a run, addresses handed to the main
// program, its download replies, and the guard that keeps tempovia.ini.
#include <string>
#include <vector>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/settings/named_mutex.h"
#include "common/records/protocol.h"
#include "common/settings/settings_export.h"
#include "resources/resource_ids.h"
#include "settings/page_ini.h"
#include "settings/page_ini_import.h"
#include "settings/page_options_common.h"
#include "tests/optionpages/page_fixture.h"
#include "tests/support/lock_holder.h"

using optionpages_test::PageTest;
using optionpages_test::Pump;
using testing_support::ReadBytes;

namespace {

std::vector<std::wstring> g_boxes;
int g_reloads = 0;
std::wstring g_savePath;
std::vector<std::wstring> g_urls;
std::vector<HWND> g_urlSenders;

int RecordBox(HWND, const wchar_t* text, const wchar_t*) {
    g_boxes.push_back(text);
    return IDOK;
}
void CountReload() { ++g_reloads; }
bool SaveAnswer(HWND, wchar_t* path, DWORD size) {
    CopyBounded(path, size, g_savePath.c_str());
    return true;
}
bool OpenCancelled(HWND, wchar_t*, DWORD) { return false; }

// Stands in for the main program's window: records URL import requests.
LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData != COPYDATA_URL_IMPORT || data->cbData != kUrlImportBlockBytes) return 0;
        g_urls.push_back(static_cast<const wchar_t*>(data->lpData));
        g_urlSenders.push_back(reinterpret_cast<HWND>(wParam));
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND g_main = nullptr;
// The main program's side of WM_COPYDATA, reached through a window of this
// test's own class so that no other test's main-program stand-in hears it.
LRESULT SendToStandIn(WPARAM sender, const COPYDATASTRUCT* data) {
    return SendMessageW(g_main, WM_COPYDATA, sender, reinterpret_cast<LPARAM>(data));
}

class IniPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        g_boxes.clear();
        g_urls.clear();
        g_urlSenders.clear();
        g_reloads = 0;
        ForgetImportBackup();
        oldHook_ = SetAfterImportHook(CountReload);
        oldBox_ = SetPathErrorBox(RecordBox);
        oldDialogs_ = SetIniPageFileDialogs({OpenCancelled, SaveAnswer});
        WritePrivateProfileStringW(L"tester:main", L"language", L"de", Ini().c_str());
        WritePrivateProfileStringW(L"tester:clock1", L"prefix", L"Home", Ini().c_str());
    }
    void TearDown() override {
        SetIniPageFileDialogs(oldDialogs_);
        SetPathErrorBox(oldBox_);
        SetAfterImportHook(oldHook_);
        ForgetImportBackup();
        PageTest::TearDown();
    }
    HWND Page() { return CreatePage(IDD_PAGE_INI, IniPageDlgProc); }
    void Click(HWND page, int id) { SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    std::wstring Bak() { return BackupPathOf(Ini()); }

    AfterImportHook oldHook_ = nullptr;
    PathErrorBox oldBox_ = nullptr;
    IniPageFileDialogs oldDialogs_;
};

TEST_F(IniPage, ImportIsEnabledOnlyWhileThePathHoldsText) {
    HWND page = Page();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcImport)));
    SetDlgItemTextW(page, kIdcImportPath, L"x.ini");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, kIdcImport)));
    SetDlgItemTextW(page, kIdcImportPath, L"");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kIdcImport)));
    // A cancelled browse leaves the text as it was.
    SetDlgItemTextW(page, kIdcImportPath, L"kept.ini");
    Click(page, kIdcBrowse);
    EXPECT_EQ(Text(page, kIdcImportPath), L"kept.ini");
}

TEST_F(IniPage, ExportThenImportRoundTripsAndBacksUpOncePerRun) {
    HWND page = Page();
    g_savePath = dir_.file(L"export.ini");
    Click(page, kIdcExport);
    ASSERT_TRUE(g_boxes.empty());
    ASSERT_EQ(ReadIniText(g_savePath.c_str(), L"default:main", L"language"), L"de");

    WritePrivateProfileStringW(L"tester:main", L"language", L"fr", Ini().c_str());
    const std::string beforeFirst = ReadBytes(Ini());
    SetDlgItemTextW(page, kIdcImportPath, g_savePath.c_str());
    Click(page, kIdcImport);
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(g_reloads, 1);
    EXPECT_EQ(ReadIniText(Ini().c_str(), L"tester:main", L"language"), L"de");
    EXPECT_EQ(ReadBytes(Bak()), beforeFirst);
    EXPECT_EQ(Bak().substr(Bak().size() - 12), L"tempovia.bak");

    // A second import of the run keeps the first backup.
    WritePrivateProfileStringW(L"tester:main", L"language", L"it", Ini().c_str());
    Click(page, kIdcImport);
    EXPECT_EQ(g_reloads, 2);
    EXPECT_EQ(ReadBytes(Bak()), beforeFirst);
}

TEST_F(IniPage, FailedImportsNameThePathAndChangeNothing) {
    HWND page = Page();
    const std::string before = ReadBytes(Ini());
    WriteFile(L"plain.ini", "[something]\r\nkey=1\r\n");
    ASSERT_TRUE(testing_support::WriteBytes(Bak(), "[tester:main]\r\nlanguage=en\r\n"));
    for (const std::wstring& path : {dir_.file(L"plain.ini"), dir_.file(L"missing.ini"), Ini()}) {
        g_boxes.clear();
        SetDlgItemTextW(page, kIdcImportPath, path.c_str());
        Click(page, kIdcImport);
        ASSERT_EQ(g_boxes.size(), 1u) << path;
        EXPECT_NE(g_boxes[0].find(path), std::wstring::npos) << g_boxes[0];
        EXPECT_EQ(ReadBytes(Ini()), before) << path;
        EXPECT_EQ(ReadBytes(Bak()), "[tester:main]\r\nlanguage=en\r\n") << path;
    }
    // A good file while another program keeps tempovia.ini busy: the box
    // says that of the settings file, not that the import file is bad.
    WriteFile(L"good.ini", "[default:main]\r\ndescription=good\r\n");
    SetDlgItemTextW(page, kIdcImportPath, dir_.file(L"good.ini").c_str());
    g_boxes.clear();
    {
        testing_support::LockHolder other(5000);
        IniFileLock ranOut(0);  // this thread's wait is over: the page's is too
        ASSERT_FALSE(ranOut.held());
        Click(page, kIdcImport);
        // An export then writes nothing rather than a copy of a file being rewritten.
        g_savePath = dir_.file(L"out.ini");
        Click(page, kIdcExport);
    }
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[0], FillTextValue(Language().LoadUiString(IDS_IMPORT_FILE_BUSY), Ini().c_str()));
    EXPECT_EQ(g_boxes[1], FillTextValue(Language().LoadUiString(IDS_EXPORT_FILE_BUSY), Ini().c_str()));
    EXPECT_EQ(GetFileAttributesW(g_savePath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadBytes(Ini()), before);
    EXPECT_EQ(ReadBytes(Bak()), "[tester:main]\r\nlanguage=en\r\n");
    EXPECT_EQ(g_reloads, 0);
}

TEST_F(IniPage, TheSettingsFileItselfIsNeverExportedOverOrImportedUnderAnotherSpelling) {
    HWND page = Page();
    const std::string before = ReadBytes(Ini());
    // The same file written another way: other case, a "." step, a ".." step.
    std::wstring upper = Ini();
    for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
    const std::wstring dotted = dir_.path() + L"\\.\\tempovia.ini";
    const std::wstring parent = dir_.path() + L"\\sub\\..\\tempovia.ini";
    for (const std::wstring& path : {Ini(), upper, dotted, parent}) {
        g_boxes.clear();
        g_savePath = path;
        Click(page, kIdcExport);
        EXPECT_EQ(g_boxes.size(), 1u) << path;
        EXPECT_EQ(ReadBytes(Ini()), before) << path;
        SetDlgItemTextW(page, kIdcImportPath, path.c_str());
        Click(page, kIdcImport);
        EXPECT_EQ(ReadBytes(Ini()), before) << path;
    }
}

TEST_F(IniPage, ExportFailureShowsTheExportError) {
    HWND page = Page();
    g_savePath = dir_.file(L"no such folder\\out.ini");
    Click(page, kIdcExport);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_NE(g_boxes[0].find(L"exported"), std::wstring::npos) << g_boxes[0];
    EXPECT_NE(g_boxes[0].find(g_savePath), std::wstring::npos);
}

TEST(IniPageAddress, SchemesAreMatchedWithoutCase) {
    EXPECT_TRUE(IsWebAddress(L"http://127.0.0.1/a.ini"));
    EXPECT_TRUE(IsWebAddress(L"HTTPS://127.0.0.1/a.ini"));
    EXPECT_TRUE(IsWebAddress(L"HtTp://x"));
    EXPECT_FALSE(IsWebAddress(L"ftp://127.0.0.1/a.ini"));
    EXPECT_FALSE(IsWebAddress(L"http:/x"));
    EXPECT_FALSE(IsWebAddress(L"http"));
    EXPECT_FALSE(IsWebAddress(L""));
    EXPECT_FALSE(IsWebAddress(nullptr));
    EXPECT_EQ(BackupPathOf(L"C:\\a\\tempovia.ini"), L"C:\\a\\tempovia.bak");
}

TEST_F(IniPage, AddressesGoToTheMainProgramAndItsReplyImportsTheDownload) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TvOptionPagesMainStandIn";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND main = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(main, nullptr);
    g_main = main;
    UrlImportSender oldSender = SetUrlImportSender(SendToStandIn);

    HWND page = Page();
    SetDlgItemTextW(page, kIdcImportPath, L"HTTPS://127.0.0.1/settings.ini");
    Click(page, kIdcImport);
    ASSERT_EQ(g_urls.size(), 1u);
    EXPECT_EQ(g_urls[0], L"HTTPS://127.0.0.1/settings.ini");
    EXPECT_EQ(g_urlSenders[0], page);
    EXPECT_TRUE(g_boxes.empty());

    // A file-transfer address is a path, and no such file exists.
    SetDlgItemTextW(page, kIdcImportPath, L"ftp://127.0.0.1/settings.ini");
    Click(page, kIdcImport);
    EXPECT_EQ(g_urls.size(), 1u);
    EXPECT_EQ(g_boxes.size(), 1u);

    // The reply: a failed download names downloaded.ini; 200 imports it.
    // Each request has one answer: a second reply is nobody's.
    g_boxes.clear();
    const std::wstring downloaded = SettingsFolder() + L"downloaded.ini";
    SendMessageW(page, MSG_DOWNLOAD_REPLY, 404, 0);
    SendMessageW(page, MSG_DOWNLOAD_REPLY, 404, 0);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_NE(g_boxes[0].find(downloaded), std::wstring::npos);
    ASSERT_TRUE(ExportSettings(downloaded.c_str()));
    WritePrivateProfileStringW(L"tester:main", L"language", L"fr", Ini().c_str());
    SendMessageW(page, MSG_DOWNLOAD_REPLY, 200, 0);
    EXPECT_EQ(g_reloads, 0);
    SetDlgItemTextW(page, kIdcImportPath, L"http://127.0.0.1/settings.ini");
    Click(page, kIdcImport);
    SendMessageW(page, MSG_DOWNLOAD_REPLY, 200, 0);
    SendMessageW(page, MSG_DOWNLOAD_REPLY, 200, 0);
    EXPECT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_reloads, 1);
    EXPECT_EQ(ReadIniText(Ini().c_str(), L"tester:main", L"language"), L"de");

    SetUrlImportSender(oldSender);
    DestroyWindow(main);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST(IniPageAddress, TheRequestBlockIsBoundedAndZeroFilled) {
    wchar_t block[kUrlImportBlockBytes / sizeof(wchar_t)];
    std::fill(std::begin(block), std::end(block), L'x');
    FillUrlImportBlock(L"http://a", block);
    EXPECT_EQ(std::wstring(block), L"http://a");
    EXPECT_EQ(block[259], L'\0');
    std::wstring longer(600, L'a');
    FillUrlImportBlock(longer.c_str(), block);
    EXPECT_EQ(std::wstring(block).size(), 259u);
}

}  // namespace
