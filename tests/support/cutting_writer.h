// Another program rewriting the settings file the way an editor saves it: it
// cuts the file short, then writes it whole, holding the settings-file lock
// throughout. (Header-only: the programs that include it link the settings
// library.)
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "common/settings/named_mutex.h"
#include "tests/support/test_support.h"

namespace testing_support {

class CuttingWriter {
public:
    // Returns once the file is cut short (its first third written).
    CuttingWriter(const std::wstring& path, const std::string& whole) {
        cut_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, path, whole] {
            IniFileLock lock;
            WriteBytes(path, whole.substr(0, whole.size() / 3));
            SetEvent(cut_);
            Sleep(300);
            WriteBytes(path, whole);
        });
        WaitForSingleObject(cut_, 5000);
    }
    // Returns once the file is whole again.
    ~CuttingWriter() {
        thread_.join();
        CloseHandle(cut_);
    }
    CuttingWriter(const CuttingWriter&) = delete;
    CuttingWriter& operator=(const CuttingWriter&) = delete;

private:
    HANDLE cut_ = nullptr;
    std::thread thread_;
};

}  // namespace testing_support
