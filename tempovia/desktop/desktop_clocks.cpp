#include "tempovia/desktop/desktop_clocks.h"

#include <algorithm>
#include <memory>

#include "common/records/clock_record.h"
#include "common/zones/date_math.h"
#include "tempovia/desktop/clock_wnd.h"
#include "tempovia/desktop/desktop_registry.h"
#include "tempovia/main/program_resource_ids.h"

namespace desktop {
namespace {

constexpr WORD kHandCursorId = IDCUR_CLOCK_HAND;

struct ModuleState {
    DesktopClockHost host;
    HWND owner = nullptr;
    int hideLevel = 0;
    int busy = 0;
    int lastDayKey = -1;
    int lastSecond = -1;
    HCURSOR hand = nullptr;
    bool ownsHand = false;
    // Clocks of the current creation that still wait for their place: where
    // they stand for the moment is not where they will stand.
    std::vector<const CClockWnd*> awaitingPlace;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

void LoadHandCursor() {
    ModuleState& s = State();
    if (s.hand) return;
    // The program's own hand; the system's when the program file has none.
    s.hand = static_cast<HCURSOR>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kHandCursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    s.ownsHand = s.hand != nullptr;
    if (!s.hand) s.hand = LoadCursorW(nullptr, IDC_HAND);
}

void FreeHandCursor() {
    ModuleState& s = State();
    if (s.hand && s.ownsHand) DestroyCursor(s.hand);
    s.hand = nullptr;
    s.ownsHand = false;
}

void DeleteAllWindows() {
    BusyScope busy;
    // Each window takes itself off the list as it goes.
    while (!RegisteredWindows().empty()) delete RegisteredWindows().back();
}

std::unique_ptr<CClockWnd> LoadOne(HWND owner, ClockRecord* clocks, int index) {
    if (RegisteredWindows().size() >= kMaxDesktopClocks) return nullptr;
    auto window = std::make_unique<CClockWnd>();
    if (!window->Load(owner, clocks, index)) return nullptr;  // the destructor unregisters it
    return window;
}

}  // namespace

void SetDesktopClockHost(const DesktopClockHost& host) { State().host = host; }
const DesktopClockHost& Host() { return State().host; }

const std::vector<CClockWnd*>& Windows() { return RegisteredWindows(); }
bool IsBusy() { return State().busy > 0; }
bool IsHidden() { return State().hideLevel > 0; }
int HideLevel() { return State().hideLevel; }
HCURSOR HandCursor() { return State().hand; }
HWND OwnerWindow() { return State().owner; }

BusyScope::BusyScope() { ++State().busy; }
BusyScope::~BusyScope() {
    if (State().busy > 0) --State().busy;
}

bool CreateDesktopClocks(HWND owner, ClockRecord* clocks, int count) {
    ModuleState& s = State();
    // A second creation without a destruction in between would stand two
    // windows on one clock.
    if (!RegisteredWindows().empty()) DeleteAllWindows();
    s.owner = owner;
    s.hideLevel = 0;
    s.lastDayKey = -1;
    s.lastSecond = -1;
    LoadHandCursor();
    bool ok = true;
    {
        BusyScope busy;
        for (int i = 0; clocks && i < count && i < kMaxClocks; ++i) {
            if (!clocks[i].enabled || !clocks[i].on_desktop) continue;
            std::unique_ptr<CClockWnd> window = LoadOne(owner, clocks, i);
            if (!window) {
                ok = false;
                break;
            }
            window.release();  // the list keeps it
        }
    }
    SortByZKey();
    const std::vector<CClockWnd*> windows = RegisteredWindows();
    s.awaitingPlace.clear();
    for (const CClockWnd* w : windows) {
        if (w->Handle() && !w->IsPositioned()) s.awaitingPlace.push_back(w);
    }
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        CClockWnd* w = *it;
        if (!w->Handle()) continue;
        if (!w->IsPositioned()) {
            s.awaitingPlace.erase(std::remove(s.awaitingPlace.begin(), s.awaitingPlace.end(), w),
                                  s.awaitingPlace.end());
            w->KeepInWorkArea();
        }
        ShowWindow(w->Handle(), SW_SHOWNOACTIVATE);
    }
    s.awaitingPlace.clear();
    return ok;
}

void DestroyDesktopClocks(bool save) {
    if (save) SaveDesktopClocks();
    DeleteAllWindows();
    ModuleState& s = State();
    s.busy = 0;
    s.hideLevel = 0;
    FreeHandCursor();
}

void SaveDesktopClocks() {
    for (CClockWnd* w : RegisteredWindows()) w->Save();
}

CClockWnd* FindDesktopClock(int clockNumber) {
    for (CClockWnd* w : RegisteredWindows()) {
        if (w->Record() && w->Record()->number == clockNumber) return w;
    }
    return nullptr;
}

CClockWnd* CreateDesktopClock(HWND owner, ClockRecord* clocks, int index) {
    if (!State().owner) State().owner = owner;
    LoadHandCursor();
    std::unique_ptr<CClockWnd> window = LoadOne(owner, clocks, index);
    return window.release();
}

void DestroyDesktopClock(int clockNumber) {
    BusyScope busy;
    delete FindDesktopClock(clockNumber);
}

void HideDesktopClocks() {
    ModuleState& s = State();
    if (++s.hideLevel != 1) return;
    SortByZKey();
    for (CClockWnd* w : RegisteredWindows()) {
        if (w->Handle()) ShowWindow(w->Handle(), SW_HIDE);
    }
}

void RestoreDesktopClocks() {
    ModuleState& s = State();
    if (s.hideLevel == 0) return;
    if (--s.hideLevel != 0) return;
    const std::vector<CClockWnd*> windows = RegisteredWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->Handle()) ShowWindow((*it)->Handle(), SW_SHOWNA);
    }
}

void ApplyDesktopClockOrder(bool activate) {
    if (IsHidden()) return;
    BusyScope busy;
    SortByZKey();
    const std::vector<CClockWnd*> windows = RegisteredWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        HWND w = (*it)->Handle();
        if (!w) continue;
        if (IsIconic(w)) ShowWindow(w, SW_SHOWNOACTIVATE);
        if (!IsWindowVisible(w)) ShowWindow(w, SW_SHOWNA);
        if (activate) {
            // The desktop window belongs to another process: a hung one must
            // not hang the clocks.
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(GetDesktopWindow(), WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(w),
                                SMTO_ABORTIFHUNG, 1000, &ignored);
        } else {
            SetForegroundWindow(w);
        }
    }
}

void RefreshDesktopClocks(bool force) {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    const int dayKey = static_cast<int>(DateKey(utc.wYear, utc.wMonth, utc.wDay, 0, 0, 0) / 100000);
    const int second = utc.wHour * 3600 + utc.wMinute * 60 + utc.wSecond;
    ModuleState& s = State();
    if (!force && dayKey == s.lastDayKey && second == s.lastSecond) return;
    s.lastDayKey = dayKey;
    s.lastSecond = second;
    const std::vector<CClockWnd*> windows = RegisteredWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->Tick(utc, force);
}

bool ForwardClockCommand(WPARAM wParam) {
    const std::vector<CClockWnd*> windows = RegisteredWindows();
    for (CClockWnd* w : windows) {
        if (w->Handle() && SendMessageW(w->Handle(), WM_COMMAND, wParam, 0) == 1) return true;
    }
    return false;
}

void RenumberZKeys() {
    // A snapshot of the z order: walking it window by window would stop short
    // when another program's window goes away in between.
    std::vector<HWND> order;
    EnumWindows(
        [](HWND w, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&order));
    int key = 0;
    for (HWND w : order) {
        for (CClockWnd* c : RegisteredWindows()) {
            if (c->Handle() == w) c->SetZKey(key++);
        }
    }
}

void SortByZKey() {
    std::stable_sort(RegisteredWindows().begin(), RegisteredWindows().end(),
                     [](const CClockWnd* a, const CClockWnd* b) { return a->ZKey() < b->ZKey(); });
}

RECT WorkArea() {
    RECT r{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0) || r.right <= r.left || r.bottom <= r.top) {
        GetWindowRect(GetDesktopWindow(), &r);
    }
    return r;
}

POINT DefaultCorner(const CClockWnd* self) {
    const RECT work = WorkArea();
    POINT corner{work.right, work.bottom};
    bool found = false;
    LONG lowestTop = 0;
    const std::vector<const CClockWnd*>& awaiting = State().awaitingPlace;
    for (const CClockWnd* c : RegisteredWindows()) {
        RECT r{};
        // A clock counts where it stands, shown or not: one with a stored place
        // is already there while it is still hidden at start, or while the map
        // hides the clocks. Only the clocks of this creation that are still to
        // be placed are left out, or the first placed would pile up above
        // the places the others are about to leave.
        if (c == self || !c->Handle() || !GetWindowRect(c->Handle(), &r)) continue;
        if (std::find(awaiting.begin(), awaiting.end(), c) != awaiting.end()) continue;
        if (r.left <= work.left || r.top <= work.top || r.top >= work.bottom) continue;
        if (!found || r.top < lowestTop) {
            found = true;
            lowestTop = r.top;
            corner = POINT{r.right, r.top};
        }
    }
    return corner;
}

}  // namespace desktop
