#include <algorithm>
#include <cwchar>

#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/faces/skin_manager.h"
#include "common/graphics/faces/timer_face.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "common/platform/theme_library.h"
#include "settings/preview.h"
#include "settings/preview_state.h"

namespace {

constexpr int kPreviewFaceSize = 200;

PreviewEnvironment g_environment;

HWND SystemTaskbar() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

bool SystemWallpaper(wchar_t* path, int chars) {
    return SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(chars), path, 0) != FALSE;
}

int DateKeyOf(const SYSTEMTIME& t) { return (t.wYear * 16 + t.wMonth) * 32 + t.wDay - 33; }
int SecondOf(const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond; }

SIZE ClientSize(HWND window) {
    RECT r = {};
    if (window) GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

// The skin a preview of this record draws with: a desktop clock's own, else
// the general one of the taskbar.
const wchar_t* SkinNameFor(const ClockRecord& record) {
    if (record.on_desktop && record.skin[0]) return record.skin;
    return g_settings.skin;
}

// The pages set the mode, opacity and transparency through the record.
void FollowRecord(PreviewState& p) {
    p.desktop = p.record.on_desktop != 0;
    p.opacity = p.desktop ? p.record.alpha : 255;
    p.transparent = g_settings.transparentskin || p.record.transparent;
}

void DrawFaceInStrip(HDC strip, POINT at, HTHEME theme, void*) {
    PreviewState& p = Preview();
    const RECT old = p.clock->GetRect();
    const int w = old.right - old.left;
    const int h = old.bottom - old.top;
    CGraphics* skin = p.clock->GetSkin();
    const bool builtIn = skin && IsBuiltInStyle(*skin);
    const COLORREF text = skin ? skin->GetTextColor() : 0;
    if (builtIn) skin->SetTextColor(StartPanelTextColour(nullptr));
    p.clock->SetRect(RECT{at.x, at.y, at.x + w, at.y + h});
    p.clock->Paint(strip, theme);
    p.clock->SetRect(old);
    if (builtIn) skin->SetTextColor(text);
}

void PaintDesktopPreview(const DRAWITEMSTRUCT& item) {
    PreviewState& p = Preview();
    const RECT rc = item.rcItem;
    const int cw = rc.right - rc.left;
    const int ch = rc.bottom - rc.top;
    // Around the face the control shows the desktop too.
    if (p.wallpaper.IsValid()) {
        BitBlt(item.hDC, rc.left, rc.top, cw, ch, p.wallpaper.Dc(), 0, 0, SRCCOPY);
    } else {
        FillColour(item.hDC, rc, DesktopColour());
    }
    const RECT face = p.clock->GetRect();
    const int fw = face.right - face.left;
    const int fh = face.bottom - face.top;
    CBitmap off;
    if (fw <= 0 || fh <= 0 || !off.Create(fw, fh, 0, 0)) return;
    // A face wider than the control is shown shrunk to its width rather
    // than cut off at its right.
    const bool shrink = fw > cw;
    const int dw = shrink ? cw : fw;
    const int dh = shrink ? std::max(1, MulDiv(fh, cw, fw)) : fh;
    const int x = dw < cw ? (cw - dw) / 2 : 0;
    const int y = (ch - dh) / 2;
    if (p.wallpaper.IsValid()) {
        FillColour(off.Dc(), RECT{0, 0, fw, fh}, DesktopColour());
        if (shrink) {
            const int oldMode = SetStretchBltMode(off.Dc(), COLORONCOLOR);
            StretchBlt(off.Dc(), 0, 0, fw, fh, p.wallpaper.Dc(), x, y, dw, dh, SRCCOPY);
            SetStretchBltMode(off.Dc(), oldMode);
        } else {
            BitBlt(off.Dc(), 0, 0, fw, fh, p.wallpaper.Dc(), x, y, SRCCOPY);
        }
    } else {
        FillColour(off.Dc(), RECT{0, 0, fw, fh}, DesktopColour());
    }
    CGraphics* skin = p.clock->GetSkin();
    const COLORREF back = skin ? skin->GetBackColor() : kColourNone;
    const int32_t transparent = p.record.transparent;
    const bool opaque = skin && back == kColourNone && (!p.transparent || p.clock->GetActiveBackground());
    if (opaque) {
        skin->SetBackColor(GetSysColor(COLOR_BTNFACE));
        p.record.transparent = 0;
    }
    p.clock->SetRect(RECT{0, 0, fw, fh});
    p.clock->Paint(off.Dc(), nullptr);
    p.clock->SetRect(face);
    if (opaque) {
        skin->SetBackColor(back);
        p.record.transparent = transparent;
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(p.opacity, 0, 255)), 0};
    AlphaBlend(item.hDC, rc.left + x, rc.top + y, dw, dh, off.Dc(), 0, 0, fw, fh, blend);
}

}  // namespace

PreviewState& Preview() {
    static PreviewState state;
    return state;
}

PreviewEnvironment SetPreviewEnvironment(const PreviewEnvironment& environment) {
    PreviewEnvironment old = g_environment;
    g_environment = environment;
    return old;
}

HWND PreviewTaskbar() { return g_environment.findTaskbar ? g_environment.findTaskbar() : SystemTaskbar(); }

void CreatePreviewClock(const wchar_t* skinName) {
    PreviewState& p = Preview();
    DestroyPreviewClock();
    CGraphics* skin = SkinManager().GetSkin(skinName && skinName[0] ? skinName : kSystemClockStyleName, kPreviewFaceSize);
    if (!skin) return;
    const bool timer = IsTimerClock(p.record);
    if (!timer && (skin->GetSkinFlags() & kSkinFace)) {
        p.clock = std::make_unique<CMechClock>(&p.record, skin);
    } else if (timer) {
        p.clock = std::make_unique<CTimer>(&p.record, skin);
    } else {
        p.clock = std::make_unique<CClock>(&p.record, skin);
    }
    p.skin = skin;
    // The taskbar's colours and the wallpaper come with the first paint,
    // which knows the control.
    p.fresh = true;
    p.lastDateKey = -1;
    p.lastSecond = -1;
}

void DestroyPreviewClock() {
    PreviewState& p = Preview();
    p.clock.reset();
    if (p.skin) SkinManager().ReleaseSkin(p.skin);
    p.skin = nullptr;
    p.wallpaper.Destroy();
}

bool HasPreviewClock() { return Preview().clock != nullptr; }

ClockRecord* PreviewClockRecord() { return HasPreviewClock() ? &Preview().record : nullptr; }

void RecreatePreviewFromRecord() {
    PreviewState& p = Preview();
    // A copied record may carry alarms it does not own; the preview never needs them.
    p.record.alarms = nullptr;
    p.record.alarmCount = 0;
    // The faces index the profiles by this count: a damaged one must not
    // reach past the record.
    p.record.profileCount = std::clamp<int32_t>(p.record.profileCount, 0, kMaxBackgroundProfiles);
    FollowRecord(p);
    wchar_t name[80] = {};
    CopyBounded(name, SkinNameFor(p.record));
    CreatePreviewClock(name);
}

void RecreatePreviewClock(HWND control) {
    RecreatePreviewFromRecord();
    PreviewState& p = Preview();
    if (!p.clock) return;
    p.fresh = false;
    if (p.skin) SampleTaskbarColours(*p.skin, control);
    DrawWallpaperPreview(control);
    DrawTaskbarPreview(control, true);
}

void SetPreviewProfile(const ClockRecord* clock, const BackgroundProfile* profile) {
    if (!clock) return;
    PreviewState& p = Preview();
    p.record = *clock;
    int index = kNoBackground;
    if (profile) {
        const BackgroundProfile* first = clock->profiles;
        if (profile >= first && profile < first + kMaxBackgroundProfiles) {
            index = static_cast<int>(profile - first);
        } else if (p.record.profileCount >= 0 && p.record.profileCount < kMaxBackgroundProfiles) {
            // A profile still being edited: shown as the clock's last one.
            index = p.record.profileCount;
            p.record.profiles[index] = *profile;
            ++p.record.profileCount;
        }
    }
    RecreatePreviewFromRecord();
    if (p.clock) p.clock->SetRequestedBackground(index < p.record.profileCount ? index : kNoBackground);
    p.lastDateKey = -1;
}

bool PreviewDesktopMode() { return Preview().desktop; }
void InvalidatePreviewLook() { Preview().refresh = true; }
bool PreviewHasWallpaper() { return Preview().wallpaper.IsValid(); }

void DrawWallpaperPreview(HWND control) {
    PreviewState& p = Preview();
    p.wallpaper.Destroy();
    p.refresh = false;
    wchar_t path[MAX_PATH] = {};
    const bool found = g_environment.wallpaperPath ? g_environment.wallpaperPath(path, MAX_PATH)
                                                   : SystemWallpaper(path, MAX_PATH);
    path[MAX_PATH - 1] = 0;
    if (!found || !path[0]) return;
    CBitmap picture;
    if (!picture.LoadFile(path, LR_CREATEDIBSECTION, true)) return;
    const SIZE size = ClientSize(control);
    const int pw = picture.Width();
    const int ph = picture.Height();
    if (size.cx <= 0 || size.cy <= 0 || pw <= 0 || ph <= 0 || !p.wallpaper.Create(size.cx, size.cy, 0, 0)) return;
    // The corner that a clock at the bottom right of the screen stands on.
    const int bw = std::min<int>(pw, size.cx);
    const int bh = std::min<int>(ph, size.cy);
    for (int y = 0; y < size.cy; y += ph) {
        for (int x = 0; x < size.cx; x += pw) {
            BitBlt(p.wallpaper.Dc(), x, y, bw, bh, picture.Dc(), pw - bw, ph - bh, SRCCOPY);
        }
    }
}

bool DrawTaskbarPreview(HWND control, bool force) {
    PreviewState& p = Preview();
    if (!p.clock) return false;
    CGraphics* skin = p.clock->GetSkin();
    if (p.refresh) {
        DrawWallpaperPreview(control);
        if (skin) RefreshThemedStyle(*skin);
    }
    HWND taskbar = PreviewTaskbar();
    const SIZE taskbarSize = ClientSize(taskbar);
    SIZE area;
    if (p.desktop) {
        if (skin) SampleTaskbarColours(*skin, control);
        area = SIZE{GetSystemMetrics(SM_CXSCREEN), ClientSize(control).cy};
    } else {
        if (skin && TakesTaskbarColours(*skin)) skin->SetBackColor(kColourNone);
        area = taskbar ? PreviewClockArea(taskbar, Themes().themesActive) : ClientSize(control);
    }
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    const int dateKey = DateKeyOf(utc);
    const int second = SecondOf(utc);
    if (!force && dateKey == p.lastDateKey && second == p.lastSecond) return false;
    p.lastDateKey = dateKey;
    p.lastSecond = second;
    p.lastTaskbar = taskbarSize;

    TaskbarTheme theme(control);
    p.clock->HasChanged(utc);
    if (HDC dc = GetDC(control)) {
        p.clock->CalcSize(dc, std::max<int>(1, area.cx), std::max<int>(1, area.cy), theme.get(), nullptr);
        ReleaseDC(control, dc);
    }
    RedrawWindow(control, nullptr, nullptr, RDW_INTERNALPAINT | RDW_INVALIDATE);
    return true;
}

void PaintClockPreview(const DRAWITEMSTRUCT& item) {
    PreviewState& p = Preview();
    if (!p.clock) {
        FillColour(item.hDC, item.rcItem, GetSysColor(COLOR_BTNFACE));
        return;
    }
    FollowRecord(p);
    if (p.fresh) {
        p.fresh = false;
        if (p.skin) SampleTaskbarColours(*p.skin, item.hwndItem);
        DrawWallpaperPreview(item.hwndItem);
        p.lastDateKey = -1;
    }
    // The pages only invalidate; the clock catches up with the time here.
    DrawTaskbarPreview(item.hwndItem, p.lastDateKey < 0);
    if (p.desktop) {
        PaintDesktopPreview(item);
        return;
    }
    HWND taskbar = PreviewTaskbar();
    if (!taskbar) {
        FillColour(item.hDC, item.rcItem, GetSysColor(COLOR_BTNFACE));
        return;
    }
    if (!SameSize(ClientSize(taskbar), p.lastTaskbar)) {
        DrawTrayClocksPreview(item.hwndItem, true);
        DrawTaskbarPreview(item.hwndItem, true);
    }
    const RECT face = p.clock->GetRect();
    PaintTaskbarStrip(item, taskbar, SIZE{face.right - face.left, face.bottom - face.top}, DrawFaceInStrip, nullptr);
}
