#include "common/taskbar/clock_panel.h"

#include <algorithm>
#include <string>

#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/faces/timer_face.h"
#include "common/settings/ini_paths.h"
#include "common/platform/theme_library.h"

namespace {

constexpr wchar_t kBackgroundFile[] = L"bkg.bmp";
constexpr wchar_t kPanelFontFace[] = L"MS Sans Serif";
constexpr int kPanelFontSize = 8;
constexpr int kClockVerticalPadding = 3;  // digital faces of a skin folder
// Analogue faces carry their labels with no frame between them: the padding
// keeps one clock's label a blank's width from the next one's.
constexpr int kMechHorizontalPadding = 3;
constexpr int kMechVerticalPadding = 0;

int DateKeyOf(const SYSTEMTIME& t) { return t.wYear * 512 + t.wMonth * 32 + t.wDay - 33; }
int SecondsOf(const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond; }

SIZE SizeOf(const RECT& r) { return SIZE{r.right - r.left, r.bottom - r.top}; }

}  // namespace

int PanelClockLimit(int trayclocks) {
    if (trayclocks == 0) return 10;
    if (static_cast<unsigned>(trayclocks) >= static_cast<unsigned>(kMaxPanelFaces)) return kMaxPanelFaces;
    return trayclocks;
}

std::vector<int> ChoosePanelClocks(const ClockRecord* records, int count, int limit, bool analogue) {
    std::vector<int> chosen;
    if (!records || count <= 0) return chosen;
    for (int i = 0; i < count; ++i) {
        const ClockRecord& c = records[i];
        if (!c.enabled || c.on_desktop) continue;
        // An analogue face has no way to show a running timer.
        if (analogue && IsTimerClock(c)) continue;
        chosen.push_back(i);
    }
    limit = std::clamp(limit, 0, kMaxPanelFaces);
    if (chosen.size() > static_cast<std::size_t>(limit)) chosen.erase(chosen.begin(), chosen.end() - limit);
    return chosen;
}

ClockPanel::ClockPanel() { graphics_.Load(kPanelFontFace, 0, kPanelFontSize, 0, 0); }

ClockPanel::~ClockPanel() { Clear(); }

void ClockPanel::Clear() {
    faces_.clear();
    dateKey_ = 0;
    seconds_ = 0;
    rect_ = RECT{0, 0, 0, 0};
    background_.Destroy();
}

void ClockPanel::LoadSkins(const GlobalSettings& settings, ClockRecord* records, int count) {
    Clear();
    const std::wstring background = SkinsFolder() + kBackgroundFile;
    if (GetFileAttributesW(background.c_str()) != INVALID_FILE_ATTRIBUTES) {
        background_.LoadFile(background.c_str(), LR_CREATEDIBSECTION);
    }

    CGraphics* skin = CreateSkin(settings);
    if (!skin) return;
    const int kind = skin->GetSkinFlags();
    const bool analogue = (kind & kSkinFace) != 0;
    if (!analogue && (kind & (kSkinDigits | kSkinLetters)) == 0 && settings.classicStyle) {
        skin->SetStyleKind(Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame);
    }
    if (!settings.skinIsFolder) {
        margin_ = kPanelMargin;
    } else {
        // A skin that frames its faces needs room between the frames; one
        // without frames lets its faces touch.
        margin_ = skin->GetStyleKind() != kStylePlain ? kPanelMargin : 0;
    }

    for (int index : ChoosePanelClocks(records, count, PanelClockLimit(settings.trayclocks), analogue)) {
        ClockRecord* record = &records[index];
        std::unique_ptr<CClock> face;
        if (settings.skinIsFolder && analogue) {
            auto mech = std::make_unique<CMechClock>(record, skin);
            mech->SetPadding(kMechHorizontalPadding, kMechVerticalPadding);
            mech->SetOverlayPrefix(settings.overlayprefixes == 1);
            face = std::move(mech);
        } else {
            if (IsTimerClock(*record)) {
                face = std::make_unique<CTimer>(record, skin);
            } else {
                face = std::make_unique<CClock>(record, skin);
            }
            if (settings.skinIsFolder) face->SetPadding(face->GetHorizontalPadding(), kClockVerticalPadding);
        }
        record->transparent = settings.transparentskin;
        faces_.push_back(Slot{std::move(face), index});
    }
    ReleaseSkin(skin);
}

int ClockPanel::Tick(bool force) {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    return Tick(force, utc);
}

int ClockPanel::Tick(bool force, const SYSTEMTIME& utc) {
    const int dateKey = DateKeyOf(utc);
    const int seconds = SecondsOf(utc);
    bool minuteChanged = true;
    bool secondChanged = true;
    if (dateKey == dateKey_ && seconds / 60 == seconds_ / 60) {
        minuteChanged = false;
        secondChanged = seconds != seconds_;
    }
    int result = force ? 1 : 0;
    if (!force && !minuteChanged && !secondChanged) return result;
    dateKey_ = dateKey;
    seconds_ = seconds;
    for (Slot& f : faces_) {
        if (force || minuteChanged || (secondChanged && f.clock->ShowsSeconds())) {
            result = std::max(result, f.clock->HasChanged(utc));
        }
    }
    return result;
}

void ClockPanel::Layout(HDC dc, HTHEME theme, int maxWidth, int maxHeight, bool horizontal, int flags) {
    if (faces_.empty()) return;
    PanelLayoutInput in;
    in.maxWidth = maxWidth;
    in.maxHeight = maxHeight;
    in.horizontal = horizontal;
    in.flags = flags;
    in.margin = margin_;
    const SIZE limits = PanelMeasureLimits(in);
    std::vector<SIZE> sizes;
    sizes.reserve(faces_.size());
    for (Slot& f : faces_) {
        f.clock->CalcSize(dc, limits.cx, limits.cy, theme, nullptr);
        sizes.push_back(SizeOf(f.clock->GetRect()));
    }
    const std::vector<RECT> rects = LayoutPanelFaces(sizes, in);
    for (std::size_t i = 0; i < faces_.size(); ++i) faces_[i].clock->SetRect(rects[i]);
}

void ClockPanel::Measure(HDC, int flags) {
    std::vector<RECT> rects;
    rects.reserve(faces_.size());
    for (const Slot& f : faces_) rects.push_back(f.clock->GetRect());
    rect_ = MeasurePanelRect(rects, margin_, flags);
}

void ClockPanel::Paint(HWND window, HDC dc, HTHEME theme) {
    const int width = rect_.right - rect_.left;
    const int height = rect_.bottom - rect_.top;
    if (!dc || width <= 0 || height <= 0) return;
    CBitmap off;
    if (!off.Create(width, height, 0, 0)) return;
    RECT all = {0, 0, width, height};
    const ThemeLibrary& themes = Themes();
    if (background_.IsValid()) {
        const int oldMode = SetStretchBltMode(off.Dc(), COLORONCOLOR);
        StretchBlt(off.Dc(), 0, 0, width, height, background_.Dc(), 0, 0, background_.Width(),
                   background_.Height(), SRCCOPY);
        SetStretchBltMode(off.Dc(), oldMode);
    } else if (!window) {
        BitBlt(off.Dc(), 0, 0, width, height, dc, rect_.left, rect_.top, SRCCOPY);
    } else if (theme && themes.DrawThemeParentBackground) {
        themes.DrawThemeParentBackground(window, off.Dc(), &all);
    } else {
        FillRect(off.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    for (Slot& f : faces_) f.clock->Paint(off.Dc(), theme);
    StretchBlt(dc, rect_.left, rect_.top, width, height, off.Dc(), 0, 0, width, height, SRCCOPY);
}

CClock* ClockPanel::HitTest(int x, int y) const {
    std::vector<RECT> rects;
    rects.reserve(faces_.size());
    for (const Slot& f : faces_) {
        const ClockRecord* record = f.clock->GetRecord();
        // A clock moved to the desktop keeps its face until the panel is
        // rebuilt, but clicks on its old place are no longer its own.
        rects.push_back(record && record->on_desktop ? RECT{0, 0, 0, 0} : f.clock->GetRect());
    }
    const int hit = HitTestPanelRects(rects, x, y);
    return hit >= 0 ? faces_[hit].clock.get() : nullptr;
}

CClock* ClockPanel::FindClock(int number) const {
    for (const Slot& f : faces_) {
        const ClockRecord* record = f.clock->GetRecord();
        if (record && record->number == number) return f.clock.get();
    }
    return nullptr;
}

CClock* ClockPanel::FindRecord(int index) const {
    for (const Slot& f : faces_) {
        if (f.recordIndex == index) return f.clock.get();
    }
    return nullptr;
}

int ClockPanel::RecordIndexOf(const CClock* face) const {
    for (const Slot& f : faces_) {
        if (face && f.clock.get() == face) return f.recordIndex;
    }
    return -1;
}
