// Loading, saving, ticking and placing one desktop clock.
#include "tempovia/desktop/clock_wnd.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/faces/timer_face.h"
#include "common/graphics/gdi_handles.h"
#include "common/graphics/log_font.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/zones/date_math.h"
#include "common/zones/zone_time.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/desktop/desktop_registry.h"
#include "tempovia/desktop/skin_source.h"

namespace desktop {
namespace {

constexpr DWORD kClockStyle = WS_POPUP;
constexpr DWORD kClockExStyle = WS_EX_TOOLWINDOW;
// Font sizes the faces zoom between, and the face sizes of analogue faces: a
// stored value outside them is a damaged entry, not a size to open at.
constexpr int kSmallestFontSize = -200;
constexpr int kLargestFontSize = 72;
constexpr int kSmallestFaceSize = 16;
constexpr int kLargestFaceSize = 800;

int DayKeyOf(const SYSTEMTIME& t) { return static_cast<int>(DateKey(t.wYear, t.wMonth, t.wDay, 0, 0, 0) / 100000); }
int SecondOfDay(const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond; }

SIZE AdjustedSize(int width, int height, DWORD exStyle) {
    RECT r{0, 0, std::max(width, 1), std::max(height, 1)};
    AdjustWindowRectEx(&r, kClockStyle, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The face for a clock: timers and stopwatches get their own, clocks with an
// analogue skin the analogue face, the others the digital one.
std::unique_ptr<CClock> MakeFace(ClockRecord* record, CGraphics* skin, bool& digital) {
    digital = true;
    if (IsTimerClock(*record)) return std::make_unique<CTimer>(record, skin);
    if (skin->GetSkinFlags() & kSkinFace) {
        digital = false;
        return std::make_unique<CMechClock>(record, skin);
    }
    return std::make_unique<CClock>(record, skin);
}

}  // namespace

CClockWnd::CClockWnd() = default;

CClockWnd::~CClockWnd() {
    UnregisterWindow(this);
    // The window goes while the face and skin it paints with still exist.
    DestroyKeepingObject();
    face_.reset();
    ReleaseSkin(skin_);
    skin_ = nullptr;
}

std::wstring CClockWnd::Section() const {
    return UserPrefix() + L":clock" + std::to_wstring(record_ ? record_->number : 0);
}

SIZE CClockWnd::WindowSizeForFace() const {
    const RECT r = face_->GetRect();
    const DWORD exStyle = topmost_ ? (kClockExStyle | WS_EX_TOPMOST) : kClockExStyle;
    return AdjustedSize(r.right - r.left, r.bottom - r.top, exStyle);
}

RECT CClockWnd::CurrentRect() const {
    RECT r{x_, y_, x_ + width_, y_ + height_};
    if (Handle()) GetWindowRect(Handle(), &r);
    return r;
}

void CClockWnd::MoveWindowTo(int x, int y, bool redraw) {
    x_ = x;
    y_ = y;
    if (!Handle()) return;
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (!redraw) flags |= SWP_NOREDRAW;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, flags);
}

bool CClockWnd::Load(HWND parent, ClockRecord* clocks, int index) {
    if (!clocks || index < 0 || index >= kMaxClocks || Handle()) return false;
    record_ = &clocks[index];
    index_ = index;
    owner_ = parent;

    // 1. The skin, by the clock's name or the general one.
    wchar_t name[sizeof(ClockRecord::skin) / sizeof(WCHAR)];
    CopyBounded(name, record_->skin);
    if (!name[0]) CopyBounded(name, std::size(name), g_settings.skin);
    skinName_ = name;
    skin_ = AcquireSkin(name);
    if (!skin_) return false;

    // 2. The face.
    face_ = MakeFace(record_, skin_, digital_);
    face_->SetPanelIndex(index);
    if (digital_) {
        face_->SetLineMode(2);
        face_->SetPadding(face_->GetHorizontalPadding(), 3);
    } else {
        face_->SetPadding(0, 0);
    }

    // 3. On top and group; a group shares its members' on-top state.
    const std::wstring section = Section();
    const wchar_t* ini = UserIniPath().c_str();
    topmost_ = ReadIniBool(ini, section.c_str(), L"dsk_on_top", false);
    group_ = ReadIniInt(ini, section.c_str(), L"dsk_group", 0);
    if (group_ != 0) {
        for (const CClockWnd* other : RegisteredWindows()) {
            if (other != this && other->group_ == group_) {
                topmost_ = other->topmost_;
                break;
            }
        }
    }

    // 4. The window, titled with the clock's prefix.
    wchar_t title[sizeof(ClockRecord::prefix) / sizeof(WCHAR)];
    CopyBounded(title, record_->prefix);
    const DWORD exStyle = topmost_ ? (kClockExStyle | WS_EX_TOPMOST) : kClockExStyle;
    // The window stands on its own: the main window is where its mouse
    // messages go, not its owner. An owned popup keeps a place just above its
    // owner, which some systems let win over a request to leave the topmost
    // band.
    if (!Create(nullptr, title, kClockStyle, exStyle)) return false;

    // 5. Blending: analogue faces by their own alpha, digital ones by a key.
    if (digital_) {
        perPixelAlpha_ = false;
        COLORREF key = kNoColorKey;
        if (record_->transparent && SkinBitmapKind(*skin_) != 0 && SkinBitmapKind(*skin_) != 1) {
            key = SkinKeyColour(*skin_);
            if (key == kColourNone || key == kColourNotSet) key = GetSysColor(COLOR_BTNFACE);
        } else if (SkinBackgroundKind(*skin_) == kStyleThemedFrame) {
            key = GetSysColor(COLOR_BTNFACE);
        }
        colorKey_ = key;
    } else {
        perPixelAlpha_ = true;
        colorKey_ = kNoColorKey;
    }
    SetAlpha(record_->alpha);

    // 6. The list (a full list leaves the window off it).
    RegisterWindow(this);

    // 7. Default corner and the stored place.
    const POINT corner = DefaultCorner(this);
    const RECT work = WorkArea();
    const std::wstring storedSkin = ReadIniText(ini, section.c_str(), L"dsk_skin");
    int px = ReadIniInt(ini, section.c_str(), L"dsk_pos_x", kNoPosition);
    int py = ReadIniInt(ini, section.c_str(), L"dsk_pos_y", kNoPosition);
    positioned_ = px < kNoPosition && py < kNoPosition;
    zKey_ = ReadIniInt(ini, section.c_str(), L"dsk_pos_z", -1);
    switch (ReadIniInt(ini, section.c_str(), L"dsk_org", 0)) {
    case 1:
        px = work.right - px - 1;
        break;
    case 2:
        px = work.right - px - 1;
        py = work.bottom - py - 1;
        break;
    case 3:
        py = work.bottom - py - 1;
        break;
    default:
        break;
    }

    // 8. Size: the face measures itself, takes the stored size for this skin,
    // and one zoom step each way settles it on a valid step.
    HDC dc = surface_.Dc();
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    face_->HasChanged(utc);
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    face_->CalcSize(dc, workWidth, workHeight, nullptr, &record_->currentTime);
    bool storedSizeApplied = false;
    const bool sameSkin = _wcsicmp(storedSkin.c_str(), skinName_.c_str()) == 0;
    if (sameSkin) {
        int font = ReadIniInt(ini, section.c_str(), L"dsk_font", face_->GetFontSize());
        int size = ReadIniInt(ini, section.c_str(), L"dsk_size", face_->GetFaceSize());
        // Faces now size their fonts as the font's own (negative) height; a
        // positive size was saved by an older version in points and is read
        // as such, so the clock comes back at the size it had. The next save
        // stores the converted value.
        if (font > 0) {
            LOGFONTW points{};
            if (MakeLogFont(L"", 0, font, 0, 0, &points)) font = points.lfHeight;
        }
        if (font == 0 || font < kSmallestFontSize || font > kLargestFontSize) font = face_->GetFontSize();
        if (size != 0 && (size < kSmallestFaceSize || size > kLargestFaceSize)) size = face_->GetFaceSize();
        if (font != face_->GetFontSize() || size != face_->GetFaceSize()) {
            face_->SetSize(font, size);
            face_->CalcSize(dc, workWidth, workHeight, nullptr, &record_->currentTime);
            storedSizeApplied = true;
        }
    }
    // A size the user chose is kept as it is: the two steps do not come back
    // to it (a step down never returns to the skin's own size, so -15 goes to
    // -14, then -16), and the clock would change size at each start.
    if (!storedSizeApplied) {
        if (face_->Zoom(dc, false)) {
            face_->Zoom(dc, true);
        } else if (face_->Zoom(dc, true)) {
            face_->Zoom(dc, false);
        }
    }

    // 9. Size and place.
    const SIZE size = WindowSizeForFace();
    maxTrack_ = size;
    int x, y;
    if (positioned_) {
        x = px - size.cx / 2;
        y = py - size.cy / 2;
    } else {
        x = corner.x - size.cx;
        y = corner.y - size.cy;
    }
    x_ = x;
    y_ = y;
    width_ = size.cx;
    height_ = size.cy;
    SetWindowPos(Handle(), nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // A size of another skin, centred on the old place, may stick out of the
    // screen: the program made it bigger, so the program brings it back in.
    if (!sameSkin) KeepWholeOnMonitor();
    KeepOnMonitor();
    // The surface is drawn before the window first shows: an empty one would
    // flash until the next timer tick.
    {
        gdi::ScreenDc screen;
        Paint(screen.get());
    }
    if (!IsBusy() && !IsHidden()) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    return true;
}

void CClockWnd::Save() const {
    if (!record_) return;
    const std::wstring section = Section();
    const wchar_t* ini = UserIniPath().c_str();
    const wchar_t* s = section.c_str();
    const RECT r = CurrentRect();
    WriteIniText(ini, s, L"dsk_skin", skinName_.c_str());
    WriteIniFlag(ini, s, L"dsk_on_top", topmost_);
    WriteIniInt(ini, s, L"dsk_pos_x", r.left + (r.right - r.left) / 2);
    WriteIniInt(ini, s, L"dsk_pos_y", r.top + (r.bottom - r.top) / 2);
    DeleteIniKey(ini, s, L"dsk_org");
    if (zKey_ >= 0) WriteIniInt(ini, s, L"dsk_pos_z", zKey_);
    WriteIniInt(ini, s, L"dsk_group", group_);
    if (face_) {
        WriteIniInt(ini, s, L"dsk_font", face_->GetFontSize());
        WriteIniInt(ini, s, L"dsk_size", face_->GetFaceSize());
    }
}

void CClockWnd::Tick(const SYSTEMTIME& utc, bool force) {
    if (!face_) return;
    const int day = DayKeyOf(utc);
    const int second = SecondOfDay(utc);
    bool minuteChanged = true;
    bool secondChanged = true;
    if (day == lastDayKey_) {
        minuteChanged = second / 60 != lastSecond_ / 60;
        secondChanged = second != lastSecond_;
    }
    lastDayKey_ = day;
    lastSecond_ = second;
    if (!force && !minuteChanged && (!secondChanged || !face_->ShowsSeconds())) return;

    if (face_->HasChanged(utc) >= 2) ResizeAboutCentre(false);
    if (Handle() && IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, FALSE);
}

void CClockWnd::ResizeAboutCentre(bool redraw) {
    const RECT before = CurrentRect();
    face_->CalcSize(surface_.Dc(), kUnlimited, kUnlimited, nullptr, &record_->currentTime);
    const SIZE size = WindowSizeForFace();
    // The program's own resizing sets the new limit of the user's.
    maxTrack_ = size;
    const int cx = before.left + (before.right - before.left) / 2;
    const int cy = before.top + (before.bottom - before.top) / 2;
    x_ = cx - size.cx / 2;
    y_ = cy - size.cy / 2;
    width_ = size.cx;
    height_ = size.cy;
    if (!Handle()) return;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!redraw) flags |= SWP_NOREDRAW;
    SetWindowPos(Handle(), nullptr, x_, y_, size.cx, size.cy, flags);
}

void CClockWnd::KeepOnMonitor() {
    if (!Handle()) return;
    const RECT r = CurrentRect();
    const RECT work = MonitorWorkArea();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int x = r.left;
    int y = r.top;
    if (r.left > work.right) {
        x = work.right - width;
    } else if (r.right <= work.left) {
        x = 0;
    }
    if (r.top > work.bottom) {
        y = work.bottom - height;
    } else if (r.bottom <= work.top) {
        y = 0;
    }
    if (x != r.left || y != r.top) MoveWindowTo(x, y, true);
}

RECT CClockWnd::MonitorWorkArea() const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY);
    RECT work = WorkArea();
    if (monitor && GetMonitorInfoW(monitor, &info)) work = info.rcWork;
    return work;
}

void CClockWnd::KeepWholeOnMonitor() {
    if (!Handle()) return;
    const RECT r = CurrentRect();
    const RECT work = MonitorWorkArea();
    const LONG x = std::max(std::min(r.left, work.right - (r.right - r.left)), work.left);
    const LONG y = std::max(std::min(r.top, work.bottom - (r.bottom - r.top)), work.top);
    if (x != r.left || y != r.top) MoveWindowTo(x, y, true);
}

void CClockWnd::KeepInWorkArea() {
    if (!Handle()) return;
    const POINT corner = DefaultCorner(this);
    const RECT r = CurrentRect();
    MoveWindowTo(corner.x - (r.right - r.left), corner.y - (r.bottom - r.top), true);
    KeepOnMonitor();
}

void CClockWnd::ApplyTopmost(bool topmost) {
    topmost_ = topmost;
    if (!Handle()) return;
    BusyScope busy;
    SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CClockWnd::SendToOwner(WPARAM code, LPARAM lParam) const {
    if (!owner_ || index_ < 0 || index_ >= kMaxClocks) return 0;
    return SendMessageW(owner_, MSG_CLOCK_MOUSE + static_cast<UINT>(index_), code, lParam);
}

}  // namespace desktop
