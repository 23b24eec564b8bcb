#include "common/platform/lent_pointer.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// Sends nest (a receiver may send again) and may come from any thread.
struct Lent {
    std::mutex lock;
    std::vector<LPARAM> pointers;
};

Lent& Pointers() {
    static Lent lent;
    return lent;
}

class LendScope {
public:
    explicit LendScope(LPARAM pointer) : pointer_(pointer) {
        std::lock_guard<std::mutex> hold(Pointers().lock);
        Pointers().pointers.push_back(pointer_);
    }
    ~LendScope() {
        Lent& lent = Pointers();
        std::lock_guard<std::mutex> hold(lent.lock);
        auto found = std::find(lent.pointers.rbegin(), lent.pointers.rend(), pointer_);
        if (found != lent.pointers.rend()) lent.pointers.erase(std::next(found).base());
    }
    LendScope(const LendScope&) = delete;
    LendScope& operator=(const LendScope&) = delete;

private:
    LPARAM pointer_;
};

}  // namespace

LRESULT SendWithPointer(HWND window, UINT message, WPARAM wParam, const void* pointer) {
    const LPARAM lParam = reinterpret_cast<LPARAM>(pointer);
    LendScope lent(lParam);
    return SendMessageW(window, message, wParam, lParam);
}

bool IsLentPointer(LPARAM lParam) {
    if (lParam == 0) return false;
    Lent& lent = Pointers();
    std::lock_guard<std::mutex> hold(lent.lock);
    return std::find(lent.pointers.begin(), lent.pointers.end(), lParam) != lent.pointers.end();
}
