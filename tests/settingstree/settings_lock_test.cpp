// The settings-file lock as the programs and the time service share it: one
// mutex every session opens, a lock that cannot be made is never taken for
// held, loads read under it and anew, the clock save and the seeding hold it
// while the file is half done, and the service re-reads `common` once the new
// keys are in tempovia.ini. Another thread stands in for the other program.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/settings/ini_defaults.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "common/settings/settings_export.h"
#include "common/platform/system_seam.h"
#include "settings/general_options_save.h"
#include "settings/page_ini_import.h"
#include "tests/settingstree/tree_fixture.h"
#include "tests/support/cutting_writer.h"

using namespace tree_test;
using testing_support::CuttingWriter;

namespace {

// The name every program and the service open, whatever their session.
constexpr wchar_t kLockName[] = L"Global\\Tempovia_Settings_File";

// The service manager as the programs reach it: records each control code
// with what tempovia.ini holds for the service at that moment, and whether
// the lock was free then.
class ServiceRecorder : public SystemSeam {
public:
    explicit ServiceRecorder(const std::wstring& ini) : ini_(ini) { old_ = SetSystemSeam(this); }
    ~ServiceRecorder() override { SetSystemSeam(old_); }

    HINSTANCE ShellExecuteOpen(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) override {
        return nullptr;
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return Fake(); }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return Fake(); }
    BOOL SendServiceControl(SC_HANDLE, DWORD code, SERVICE_STATUS*) override {
        wchar_t server[64];
        GetPrivateProfileStringW(L"common", L"server0", L"", server, 64, ini_.c_str());
        // A service that takes the lock to read must find it free.
        bool free = false;
        std::thread([&] { free = IniFileLock(0).held(); }).join();
        controls.push_back(std::to_wstring(code) + L":" + server + (free ? L"" : L" (lock held)"));
        return TRUE;
    }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return TRUE; }
    DWORD LastError() override { return 0; }

    std::vector<std::wstring> controls;

private:
    static SC_HANDLE Fake() { return reinterpret_cast<SC_HANDLE>(static_cast<INT_PTR>(1)); }
    std::wstring ini_;
    SystemSeam* old_ = nullptr;
};

std::string Clocks(int n, const char* label = "C") {
    std::string text;
    for (int i = 1; i <= n; ++i) text += ClockSection(i, (label + std::to_string(i)).c_str());
    return text;
}

int ClockSectionsInFile(const std::wstring& ini) {
    int count = 0;
    for (const std::wstring& name : ReadIniSectionNames(ini.c_str())) {
        count += name.rfind(L"tester:clock", 0) == 0 && name.find(L":alarm") == std::wstring::npos;
    }
    return count;
}

class SettingsFileLock : public ::testing::Test {
protected:
    TreeSandbox box;
};

TEST_F(SettingsFileLock, IsOneMutexThatEveryoneMayWaitForAndGiveBack) {
    IniFileLock lock;
    ASSERT_TRUE(lock.held());
    DWORD seen = 0;
    std::thread other([&] {
        HANDLE h = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE | READ_CONTROL, FALSE, kLockName);
        if (!h) return;
        seen = WaitForSingleObject(h, 0);
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (GetSecurityInfo(h, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &sd) ==
                ERROR_SUCCESS &&
            dacl) {
            SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
            PSID everyone = nullptr;
            AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
            for (DWORD i = 0; i < dacl->AceCount; ++i) {
                ACCESS_ALLOWED_ACE* ace = nullptr;
                if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
                if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&ace->SidStart, everyone) &&
                    (ace->Mask & (SYNCHRONIZE | MUTEX_MODIFY_STATE)) == (SYNCHRONIZE | MUTEX_MODIFY_STATE)) {
                    seen |= 0x10000;
                }
            }
            FreeSid(everyone);
        }
        if (sd) LocalFree(sd);
        CloseHandle(h);
    });
    other.join();
    // Held here, so another holder waits; and Everyone is let in.
    EXPECT_EQ(seen, static_cast<DWORD>(WAIT_TIMEOUT | 0x10000));
}

TEST_F(SettingsFileLock, ALockThatCannotBeMadeIsNotHeldAndIsTriedAgain) {
    box.WriteUserIni(Clocks(1));
    // Another kind of object under the lock's name: the mutex cannot be made.
    // (Other test programs may hold the mutex for a moment: try again.)
    HANDLE squatter = nullptr;
    for (DWORD start = GetTickCount(); !squatter && GetTickCount() - start < 5000; Sleep(10)) {
        squatter = CreateEventW(nullptr, TRUE, FALSE, kLockName);
    }
    ASSERT_NE(squatter, nullptr);
    {
        IniFileLock lock(300);
        EXPECT_FALSE(lock.held());
        EXPECT_EQ(lock.failure(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        // Nested in a failed hold, a write fails at once and writes nothing.
        const DWORD start = GetTickCount();
        EXPECT_FALSE(WriteIniString(box.UserIni().c_str(), L"tester:clock1", L"prefix", L"Torn"));
        EXPECT_LT(GetTickCount() - start, 1000u);
    }
    EXPECT_EQ(box.Value(TreeSandbox::Clock(1), L"prefix"), L"C1");
    // The name comes free while a write waits: the write makes the lock then.
    std::thread freeing([&] {
        Sleep(300);
        CloseHandle(squatter);
    });
    EXPECT_TRUE(WriteIniString(box.UserIni().c_str(), L"tester:clock1", L"prefix", L"Kept"));
    freeing.join();
    EXPECT_EQ(box.Value(TreeSandbox::Clock(1), L"prefix"), L"Kept");
}

TEST_F(SettingsFileLock, ATreeBuiltWhileAnotherProgramRewritesTheFileHasEveryClock) {
    const std::string whole = Clocks(6);
    box.WriteUserIni(whole);
    {
        CuttingWriter writer(box.UserIni(), whole);
        BuildSettingsTree(box.tree);
    }
    EXPECT_EQ(box.tree.clocks.size(), 6u);
    // A comment line: the file is read section by section, each build while
    // the other program cuts and restores it again and again.
    const std::string commented = "; the user's note\r\n" + whole;
    box.WriteUserIni(commented);
    std::atomic<bool> stop{false};
    std::thread rewriter([&] {
        while (!stop) {
            {
                IniFileLock lock;
                testing_support::WriteBytes(box.UserIni(), commented.substr(0, commented.size() / 3));
                Sleep(1);
                testing_support::WriteBytes(box.UserIni(), commented);
            }
            Sleep(1);
        }
    });
    size_t fewest = 6;
    for (int i = 0; i < 50; ++i) {
        BuildSettingsTree(box.tree);
        fewest = std::min(fewest, box.tree.clocks.size());
    }
    stop = true;
    rewriter.join();
    EXPECT_EQ(fewest, 6u);
}

TEST_F(SettingsFileLock, WholeFileCopiesWaitForAWriterThatHoldsTheLock) {
    const std::string whole = Clocks(6);
    box.WriteUserIni(whole);
    // The backup an import keeps is of the whole file.
    ForgetImportBackup();
    {
        CuttingWriter writer(box.UserIni(), whole);
        ASSERT_TRUE(EnsureImportBackup());
    }
    const std::wstring backup = BackupPathOf(box.UserIni());
    EXPECT_EQ(ClockSectionsInFile(backup), 6);
    DeleteFileW(backup.c_str());
    ForgetImportBackup();
    // The conversion to Unicode at Apply replaces the file once the writer is done.
    {
        CuttingWriter writer(box.UserIni(), whole);
        SaveGeneralOptions(0);
    }
    EXPECT_EQ(testing_support::ReadBytes(box.UserIni()).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ClockSectionsInFile(box.UserIni()), 6);
}

TEST_F(SettingsFileLock, EachLoadReadsWhatAnotherProgramWroteSince) {
    box.WriteDefaultIni("[default:clocks]\r\nenabled=1\r\n");
    box.WriteUserIni(Clocks(2));
    // The settings program's start: seeding, then the tree of a later load.
    IniReadScope startUp;
    int count = 0;
    InitUserSettings(kUser, count);
    ASSERT_EQ(count, 2);
    std::thread mainProgram([&] {
        WriteIniString(box.UserIni().c_str(), TreeSandbox::Clock(2).c_str(), L"prefix", L"Renamed");
    });
    mainProgram.join();
    BuildSettingsTree(box.tree);
    EXPECT_EQ(Labels(box.tree), (std::vector<std::wstring>{L"C1", L"Renamed"}));
}

TEST_F(SettingsFileLock, AReaderNeverSeesTheClocksGoneWhileTheyAreSaved) {
    box.WriteUserIni(Clocks(8));
    BuildSettingsTree(box.tree);
    ASSERT_EQ(box.tree.clocks.size(), 8u);
    // The reader holds the lock for each read and waits for it again at once.
    std::atomic<bool> stop{false};
    std::atomic<int> fewest{8};
    std::thread reader([&] {
        while (!stop) {
            IniFileLock lock;
            const int n = ClockSectionsInFile(box.UserIni());
            if (n < fewest) fewest = n;
        }
    });
    Sleep(50);
    CClockNode* last = box.tree.clocks.back();
    ASSERT_TRUE(CanDropNode(box.tree, last, box.tree.clocks[0], false));
    DropNode(box.tree, last, box.tree.clocks[0], false);
    EXPECT_EQ(SaveClockOrder(box.tree), ClockSaveResult::kWritten);
    Sleep(50);
    stop = true;
    reader.join();
    EXPECT_EQ(fewest.load(), 8);
    EXPECT_EQ(box.Value(TreeSandbox::Clock(1), L"prefix"), L"C8");
}

std::vector<DWORD> g_lockFailures;

ULONGLONG FileIndex(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

TEST_F(SettingsFileLock, ALoadWithoutTheLockSeedsNothingAndSaysWhy) {
    box.WriteDefaultIni("[default:clock1]\r\nenabled=1\r\nprefix=One\r\n");
    const std::string user = "; the user's note\r\n[tester:main]\r\nrss_channels=0\r\n";
    box.WriteUserIni(user);
    const ULONGLONG before = FileIndex(box.UserIni());
    DefaultsHooks hooks;
    hooks.lockFailed = [](DWORD failure) { g_lockFailures.push_back(failure); };
    const DefaultsHooks old = SetDefaultsHooks(hooks);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread otherProgram([&] {
        IniFileLock lock;
        SetEvent(held);
        WaitForSingleObject(release, 10000);
    });
    WaitForSingleObject(held, 5000);
    int count = -1;
    {
        IniFileLock load(300);
        InitUserSettings(kUser, count);
    }
    SetEvent(release);
    otherProgram.join();
    CloseHandle(release);
    CloseHandle(held);
    SetDefaultsHooks(old);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(g_lockFailures, std::vector<DWORD>{WAIT_TIMEOUT});
    EXPECT_EQ(testing_support::ReadBytes(box.UserIni()), user);
    EXPECT_EQ(FileIndex(box.UserIni()), before);
}

// A stray of a stopped start under this start's own name: a read-only file
// with old content, or a folder.
class SeedStray : public SettingsFileLock, public ::testing::WithParamInterface<bool> {};

TEST_P(SeedStray, AFirstRunSeedsIntoAFileOfItsOwnAndRemovesStrays) {
    const bool folder = GetParam();
    box.WriteDefaultIni("[default:common]\r\nserver0=time.example\r\n[default:clock1]\r\nenabled=1\r\nprefix=One\r\n"
                        "[default:clock2]\r\nenabled=1\r\nprefix=Two\r\n");
    DeleteFileW(box.UserIni().c_str());
    const std::wstring own = box.UserIni() + L"." + std::to_wstring(GetCurrentProcessId()) + L".seed";
    const std::wstring killed = box.UserIni() + L".4000000.seed";
    if (folder) {
        ASSERT_TRUE(CreateDirectoryW(own.c_str(), nullptr));
    } else {
        ASSERT_TRUE(testing_support::WriteBytes(own, "[tester:clock1]\r\nenabled=1\r\nprefix=Stale\r\n"));
        ASSERT_TRUE(SetFileAttributesW(own.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ASSERT_TRUE(testing_support::WriteBytes(killed, "[tester:clock1]\r\nprefix=Stale\r\n"));
    ServiceRecorder service(box.UserIni());

    int count = 0;
    {
        IniFileLock load;  // as the programs' loads seed
        InitUserSettings(kUser, count);
    }
    EXPECT_EQ(count, 2);
    const DWORD attributes = GetFileAttributesW(box.UserIni().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(box.Value(TreeSandbox::Clock(1), L"prefix"), L"One");
    EXPECT_EQ(box.Value(TreeSandbox::Clock(2), L"prefix"), L"Two");
    EXPECT_EQ(GetFileAttributesW(killed.c_str()), INVALID_FILE_ATTRIBUTES);
    if (!folder) EXPECT_EQ(GetFileAttributesW(own.c_str()), INVALID_FILE_ATTRIBUTES);
    // The service is asked once, when the seeded `common` is in tempovia.ini.
    EXPECT_EQ(service.controls, (std::vector<std::wstring>{L"129:time.example"}));
}

INSTANTIATE_TEST_SUITE_P(ReadOnlyFileOrFolder, SeedStray, ::testing::Bool());

TEST_F(SettingsFileLock, AnImportThatBringsCommonAsksTheServiceOnceItIsInTheFile) {
    box.WriteUserIni(Clocks(1) + "[common]\r\nserver0=old.example\r\n");
    const std::wstring exported = box.UserIni() + L".export";
    ASSERT_TRUE(testing_support::WriteBytes(
        exported, "[default:main]\r\ndescription=x\r\n[common]\r\nserver0=new.example\r\n"
                  "[default:clock1]\r\nenabled=1\r\nprefix=I\r\n"));
    ServiceRecorder service(box.UserIni());
    EXPECT_TRUE(ImportSettings(exported.c_str()));
    EXPECT_EQ(service.controls, (std::vector<std::wstring>{L"129:new.example"}));
}

}  // namespace
