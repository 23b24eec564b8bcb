// Start-up benchmark of settings.exe and tempovia.exe (not a test): from a
// program folder and a generated tempovia.ini with N clocks, the time to the
// settings dialog being visible and its tree filled, and to the main
// program's window and its first data block in a stand-in taskbar, each beside
// a trivial program started the same way. tools/bench-startup.sh drives it and
// counts the opens of tempovia.ini through Wine's file trace.
//
//   startup_bench.exe time <clocks> <runs>
//   startup_bench.exe count <clocks> settings|tempovia|trivial-dialog|trivial-main
//   startup_bench.exe /trivial-dialog | /trivial-main   (the trivial programs)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTrivialMainClass[] = L"BenchTrivialMain";
constexpr wchar_t kTrivialFrameClass[] = L"BenchTrivialFrame";
constexpr DWORD kGiveUpMs = 60000;
constexpr int kShippedClocks = 6;
constexpr DWORD kPollMs = 5;
// Set for a counting run: the end of the start-up is marked on the standard
// error as soon as it is seen, before the programs are closed.
bool g_markEnd = false;

void MarkEnd() {
    if (!g_markEnd) return;
    g_markEnd = false;
    std::fprintf(stderr, "bench-count-end\n");
    std::fflush(stderr);
}

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

std::wstring ModuleFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring s = self;
    return s.substr(0, s.rfind(L'\\') + 1);
}

// The build's folders: this program sits in <build>\tools\.
std::wstring BuildFolder() {
    std::wstring tools = ModuleFolder();
    tools.pop_back();
    return tools.substr(0, tools.rfind(L'\\') + 1);
}

std::wstring UserPrefix() {
    wchar_t name[64] = {};
    DWORD n = 64;
    if (!GetUserNameW(name, &n)) name[0] = 0;
    CharLowerW(name);
    return name;
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((from + L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = CopyTree(from + name + L"\\", to + name + L"\\") && ok;
        } else if (name != L"tempovia.ini") {
            ok = CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) && ok;
        }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return ok;
}

std::wstring Section(const std::wstring& file, const std::wstring& name) {
    std::vector<wchar_t> buf(65536);
    DWORD n = GetPrivateProfileSectionW(name.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    return std::wstring(buf.data(), n + 1);
}

// tempovia.ini with `clocks` clocks: the shipped clocks over and over, each
// with the shipped alarm, plus the shipped main, common and news sections.
void WriteProfile(const std::wstring& folder, int clocks) {
    const std::wstring defaults = folder + L"default.ini";
    const std::wstring ini = folder + L"tempovia.ini";
    DeleteFileW(ini.c_str());
    const std::wstring user = UserPrefix();
    WritePrivateProfileSectionW(L"common", Section(defaults, L"default:common").c_str(), ini.c_str());
    WritePrivateProfileSectionW((user + L":main").c_str(), Section(defaults, L"default:main").c_str(), ini.c_str());
    for (int i = 1; i <= clocks; ++i) {
        const std::wstring shipped = L"default:clock" + std::to_wstring((i - 1) % kShippedClocks + 1);
        const std::wstring clock = user + L":clock" + std::to_wstring(i);
        WritePrivateProfileSectionW(clock.c_str(), Section(defaults, shipped).c_str(), ini.c_str());
        WritePrivateProfileSectionW((clock + L":alarm1").c_str(), Section(defaults, L"default:clock1:alarm1").c_str(),
                                    ini.c_str());
    }
    WritePrivateProfileSectionW((user + L":rss1").c_str(), Section(defaults, L"default:rss1").c_str(), ini.c_str());
    WritePrivateProfileStringW((user + L":main").c_str(), L"rss_channels", L"1", ini.c_str());
}

struct Process {
    HANDLE handle = nullptr;
    DWORD id = 0;
};

Process Start(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (%lu)\n", program.c_str(), GetLastError());
        return {};
    }
    CloseHandle(pi.hThread);
    return {pi.hProcess, pi.dwProcessId};
}

void End(Process& p, DWORD waitMs) {
    if (!p.handle) return;
    if (WaitForSingleObject(p.handle, waitMs) != WAIT_OBJECT_0) {
        TerminateProcess(p.handle, 1);
        WaitForSingleObject(p.handle, 5000);
    }
    CloseHandle(p.handle);
    p = {};
}

// A top-level window of the class that belongs to the process. FindWindowEx
// asks the server for that class only: the poll stays light, so that it
// does not slow down the program it watches.
HWND TopWindowOf(DWORD pid, const wchar_t* cls, bool visible) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && (!visible || IsWindowVisible(w))) return w;
    }
    return nullptr;
}

BOOL CALLBACK FindTree(HWND w, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (lstrcmpW(cls, WC_TREEVIEWW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
}

// ---- the measurements -------------------------------------------------------

struct DialogTimes {
    double visible = -1;
    double filled = -1;
    int items = 0;
};

// From the start of the program to its visible dialog, and to the moment its
// tree answers with the count it then keeps.
DialogTimes TimeDialog(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    DialogTimes t;
    const double start = Now();
    Process p = Start(program, arguments, folder);
    if (!p.handle) return t;
    HWND dialog = nullptr, tree = nullptr;
    int lastCount = -1;
    double lastChange = 0;
    while (Now() - start < kGiveUpMs) {
        if (!dialog) {
            dialog = TopWindowOf(p.id, L"#32770", true);
            if (dialog) t.visible = Now() - start;
        }
        if (dialog && !tree) EnumChildWindows(dialog, FindTree, reinterpret_cast<LPARAM>(&tree));
        if (tree) {
            DWORD_PTR count = 0;
            if (SendMessageTimeoutW(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, kGiveUpMs, &count)) {
                const double at = Now() - start;
                if (static_cast<int>(count) != lastCount) {
                    lastCount = static_cast<int>(count);
                    lastChange = at;
                } else if (count > 0 && at - lastChange > 500) {
                    t.filled = lastChange;
                    t.items = lastCount;
                    MarkEnd();
                    break;
                }
            }
        }
        Sleep(kPollMs);
    }
    if (HWND frame = dialog ? GetWindow(dialog, GW_OWNER) : nullptr) PostMessageW(frame, WM_CLOSE, 0, 0);
    TerminateProcess(p.handle, 0);
    End(p, 5000);
    return t;
}

struct MainTimes {
    double window = -1;
    double block = -1;
};

bool LogHasBlock(const std::wstring& log) {
    HANDLE f = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    char buf[8192];
    DWORD got = 0;
    ReadFile(f, buf, sizeof buf - 1, &got, nullptr);
    CloseHandle(f);
    buf[got] = 0;
    return std::strstr(buf, "copydata") != nullptr;
}

bool WaitForLogLine(const std::wstring& log, const char* line) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kGiveUpMs; Sleep(5)) {
        HANDLE f = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (f == INVALID_HANDLE_VALUE) continue;
        char buf[4096];
        DWORD got = 0;
        ReadFile(f, buf, sizeof buf - 1, &got, nullptr);
        CloseHandle(f);
        buf[got] = 0;
        if (std::strstr(buf, line)) return true;
    }
    return false;
}

// A stand-in taskbar is up (its log says "ready") before the clock starts.
MainTimes TimeMain(const std::wstring& program, const std::wstring& arguments, const wchar_t* windowClass,
                   const std::wstring& folder, bool endWithExit) {
    MainTimes t;
    const std::wstring log = folder + L"taskbar.log";
    DeleteFileW(log.c_str());
    Process taskbar = Start(BuildFolder() + L"tests\\standin_taskbar.exe", L"\"" + log + L"\" 120 /log-own-blocks",
                            folder);
    if (!taskbar.handle || !WaitForLogLine(log, "ready")) {
        End(taskbar, 0);
        return t;
    }
    const double start = Now();
    Process p = Start(program, arguments, folder);
    while (p.handle && Now() - start < kGiveUpMs && t.block < 0) {
        if (t.window < 0 && TopWindowOf(p.id, windowClass, false)) t.window = Now() - start;
        if (LogHasBlock(log)) t.block = Now() - start;
        Sleep(kPollMs);
    }
    MarkEnd();
    if (endWithExit) {
        Process closer = Start(program, L"/exit", folder);
        End(closer, 15000);
    } else if (HWND w = TopWindowOf(p.id, windowClass, false)) {
        PostMessageW(w, WM_CLOSE, 0, 0);
    }
    End(p, 15000);
    if (HWND bar = TopWindowOf(taskbar.id, L"Shell_TrayWnd", false)) PostMessageW(bar, WM_CLOSE, 0, 0);
    End(taskbar, 5000);
    return t;
}

// ---- the trivial programs ---------------------------------------------------

INT_PTR CALLBACK TrivialDialogProc(HWND dialog, UINT m, WPARAM, LPARAM) {
    if (m == WM_INITDIALOG) {
        HWND tree = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                    WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_CHECKBOXES, 4, 4, 200,
                                    300, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
        HTREEITEM parent = TVI_ROOT;
        for (int i = 0; i < 40; ++i) {
            wchar_t text[32];
            swprintf(text, 32, L"Item %d", i + 1);
            TVINSERTSTRUCTW ins = {};
            ins.hParent = i % 5 == 0 ? TVI_ROOT : parent;
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT;
            ins.item.pszText = text;
            HTREEITEM item = TreeView_InsertItem(tree, &ins);
            if (i % 5 == 0) parent = item;
        }
        return TRUE;
    }
    if (m == WM_CLOSE) {
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK TrivialWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

HWND TrivialWindow(const wchar_t* cls) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TrivialWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = cls;
    RegisterClassW(&wc);
    return CreateWindowExW(0, cls, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

int RunLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// A hidden frame that owns a dialog with a tree of 40 items.
int TrivialDialog() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HWND frame = TrivialWindow(kTrivialFrameClass);
    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tpl = {};
    tpl.t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    tpl.t.cx = 200;
    tpl.t.cy = 200;
    HWND dialog = CreateDialogIndirectW(GetModuleHandleW(nullptr), &tpl.t, frame, TrivialDialogProc);
    if (!dialog) return 1;
    ShowWindow(dialog, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyWindow(dialog);
    DestroyWindow(frame);
    return 0;
}

BOOL CALLBACK FindStandInClock(HWND w, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (lstrcmpW(cls, L"Shell_TrayWnd") != 0) return TRUE;
    HWND notify = FindWindowExW(w, nullptr, L"TrayNotifyWnd", nullptr);
    HWND clock = notify ? FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr) : nullptr;
    if (!clock) return TRUE;
    *reinterpret_cast<HWND*>(lp) = clock;
    return FALSE;
}

// A hidden main window that sends one block to the stand-in taskbar's clock.
int TrivialMain() {
    HWND main = TrivialWindow(kTrivialMainClass);
    HWND clock = nullptr;
    EnumWindows(FindStandInClock, reinterpret_cast<LPARAM>(&clock));
    char data[16] = {};
    COPYDATASTRUCT cds = {0, sizeof data, data};
    DWORD_PTR reply = 0;
    if (clock) {
        SendMessageTimeoutW(clock, WM_COPYDATA, reinterpret_cast<WPARAM>(main), reinterpret_cast<LPARAM>(&cds),
                            SMTO_NORMAL, 5000, &reply);
    }
    RunLoop();
    DestroyWindow(main);
    return 0;
}

// ---- the driver -------------------------------------------------------------

double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Bench {
    std::wstring folder;
    std::wstring self;
    int clocks = 0;

    bool Prepare() {
        folder = BuildFolder() + L"bench\\clocks" + std::to_wstring(clocks) + L"\\";
        CreateDirectoryW((BuildFolder() + L"bench").c_str(), nullptr);
        if (!CopyTree(BuildFolder() + L"bin\\", folder)) return false;
        self = ModuleFolder() + L"startup_bench.exe";
        WriteProfile(folder, clocks);
        // One start of each program completes the file as it would on any
        // later start; that state is what every run starts from.
        TimeDialog(folder + L"settings.exe", L"", folder);
        TimeMain(folder + L"tempovia.exe", L"", L"TempoviaClass", folder, true);
        return CopyFileW((folder + L"tempovia.ini").c_str(), (folder + L"tempovia.ini.bench").c_str(), FALSE) != 0;
    }
    void Restore() const {
        CopyFileW((folder + L"tempovia.ini.bench").c_str(), (folder + L"tempovia.ini").c_str(), FALSE);
    }
};

void PrintRow(const wchar_t* what, double real, double trivial) {
    std::wprintf(L"  %-34ls %8.0f ms   trivial %6.0f ms   %5.2fx\n", what, real, trivial,
                 trivial > 0 ? real / trivial : 0.0);
}

int TimeAll(int clocks, int runs) {
    Bench b;
    b.clocks = clocks;
    if (!b.Prepare()) {
        std::fwprintf(stderr, L"cannot prepare the program folder\n");
        return 1;
    }
    std::vector<double> sv, sf, tv, tf, mw, mb, qw, qb;
    int items = 0;
    for (int i = 0; i < runs; ++i) {
        b.Restore();
        DialogTimes s = TimeDialog(b.folder + L"settings.exe", L"", b.folder);
        DialogTimes t = TimeDialog(b.self, L"/trivial-dialog", b.folder);
        b.Restore();
        MainTimes m = TimeMain(b.folder + L"tempovia.exe", L"", L"TempoviaClass", b.folder, true);
        MainTimes q = TimeMain(b.self, L"/trivial-main", kTrivialMainClass, b.folder, false);
        sv.push_back(s.visible);
        sf.push_back(s.filled);
        tv.push_back(t.visible);
        tf.push_back(t.filled);
        mw.push_back(m.window);
        mb.push_back(m.block);
        qw.push_back(q.window);
        qb.push_back(q.block);
        items = s.items;
    }
    b.Restore();
    std::wprintf(L"%d clocks, median of %d paired runs (tree of %d items):\n", clocks, runs, items);
    PrintRow(L"settings.exe dialog visible", Median(sv), Median(tv));
    PrintRow(L"settings.exe tree filled", Median(sf), Median(tf));
    PrintRow(L"tempovia.exe main window", Median(mw), Median(qw));
    PrintRow(L"tempovia.exe first taskbar block", Median(mb), Median(qb));
    std::fflush(stdout);
    return 0;
}

// One start-up between two marks on the standard error, where Wine's file
// trace lands too.
int CountOne(int clocks, const std::wstring& which) {
    Bench b;
    b.clocks = clocks;
    b.folder = BuildFolder() + L"bench\\clocks" + std::to_wstring(clocks) + L"\\";
    b.self = ModuleFolder() + L"startup_bench.exe";
    b.Restore();
    std::fprintf(stderr, "bench-count-begin\n");
    std::fflush(stderr);
    g_markEnd = true;
    if (which == L"settings") {
        TimeDialog(b.folder + L"settings.exe", L"", b.folder);
    } else if (which == L"trivial-dialog") {
        TimeDialog(b.self, L"/trivial-dialog", b.folder);
    } else if (which == L"tempovia") {
        MainTimes m = TimeMain(b.folder + L"tempovia.exe", L"", L"TempoviaClass", b.folder, true);
        (void)m;
    } else {
        TimeMain(b.self, L"/trivial-main", kTrivialMainClass, b.folder, false);
    }
    MarkEnd();
    b.Restore();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && lstrcmpW(argv[1], L"/trivial-dialog") == 0) return TrivialDialog();
    if (argc >= 2 && lstrcmpW(argv[1], L"/trivial-main") == 0) return TrivialMain();
    if (argc >= 4 && lstrcmpW(argv[1], L"time") == 0) return TimeAll(_wtoi(argv[2]), _wtoi(argv[3]));
    if (argc >= 4 && lstrcmpW(argv[1], L"count") == 0) return CountOne(_wtoi(argv[2]), argv[3]);
    std::fwprintf(stderr, L"usage: startup_bench time <clocks> <runs> | count <clocks> <program>\n");
    return 2;
}
