#include "common/graphics/faces/clock_face.h"

#include <algorithm>
#include <cstdlib>

#include "common/records/clock_table.h"
#include "common/platform/theme_helpers.h"
#include "common/zones/zone_time.h"

namespace {

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

SYSTEMTIME ClockTimeAt(const SYSTEMTIME& utc, const ClockRecord& clock) {
    SYSTEMTIME zone = utc;
    if (!UtcToClockTime(utc, &zone, clock)) zone = utc;
    return zone;
}

}  // namespace

CClock::DrawScope::DrawScope(CClock& clock, HDC dc, HTHEME theme)
    : skin_(clock.skin_), height_(0), dc_(nullptr), theme_(nullptr) {
    if (!skin_) return;
    height_ = skin_->GetFontHeight();
    dc_ = skin_->GetDC();
    theme_ = skin_->GetTheme();
    skin_->SetFontHeight(clock.fontSize_);
    skin_->SetDC(dc, theme);
}

CClock::DrawScope::~DrawScope() {
    if (!skin_) return;
    skin_->SetDC(dc_, theme_);
    skin_->SetFontHeight(height_);
}

CClock::CClock(ClockRecord* record, CGraphics* skin) : record_(record), skin_(skin) {
    if (skin_) {
        skin_->AddRef();
        skin_->SetOpaqueText(false);
        centreText_ = skin_->GetCentreText();
        // The skin's size may be in points: the face draws with the height
        // the skin's font was made with.
        fontSize_ = skin_->GetLoadedFontHeight();
    }
}

CClock::~CClock() {
    if (skin_ && skin_->Release()) delete skin_;
}

RECT CClock::GetRect() const { return record_ ? record_->clockRect : RECT{0, 0, 0, 0}; }

void CClock::SetRect(const RECT& rect) {
    if (record_) record_->clockRect = rect;
}

void CClock::SetSize(int fontSize, int) { fontSize_ = fontSize; }

bool CClock::CanZoom() const {
    int flags = skin_ ? skin_->GetSkinFlags() : 0;
    return (flags & (kSkinDigits | kSkinLetters)) == 0 || (flags & kSkinFace) != 0;
}

bool CClock::ShowsSeconds() const { return record_ && record_->showsSeconds != 0; }

bool CClock::HitTestButton(int, int) const { return false; }

HTHEME CClock::OpenClockTheme(HWND window) {
    HTHEME theme = nullptr;
    return OpenThemeIfActive(theme, window, L"CLOCK");
}

const BackgroundProfile* CClock::GetActiveBackground() const {
    if (activeBackground_ == kGlobalBackground) return &g_settings.localzonehighlight;
    if (!record_ || activeBackground_ < 0 || activeBackground_ >= kMaxBackgroundProfiles) return nullptr;
    return &record_->profiles[activeBackground_];
}

void CClock::ChooseBackground() {
    if (!record_) return;
    const BackgroundProfile& global = g_settings.localzonehighlight;
    bool systemZone = !IsTimerClock(*record_) && global.enabled && IsSystemZone(*record_);
    activeBackground_ = FindActiveBackground(*record_, requestedBackground_, &global, systemZone);
}

ClockTexts CClock::MeasureTexts(const SYSTEMTIME& zoneTime) {
    ClockTexts t;
    if (!record_) return t;
    FormatClockTexts(*record_, zoneTime, t);
    if (!skin_) return t;
    t.blankSize = skin_->MeasureText(L" ", 1);
    t.timeSize = skin_->MeasureText(t.time, 0);
    t.dateOneLineSize = skin_->MeasureText(t.dateOneLine, 0);
    t.dateLinesSize = skin_->MeasureMultiline(t.dateLines, 0);
    if (t.prefix[0]) {
        SIZE p = skin_->MeasureText(t.prefix, 0);
        t.prefixSize.cx = p.cx + t.blankSize.cx;
        t.prefixSize.cy = std::max(p.cy, t.blankSize.cy);
    }
    return t;
}

void CClock::CalcSize(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time) {
    if (!record_ || !skin_) return;
    SYSTEMTIME zone;
    if (time) {
        zone = *time;
    } else {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        zone = ClockTimeAt(utc, *record_);
        zone.wMinute = 58;
        zone.wSecond = 58;
    }
    DrawScope scope(*this, dc, theme);
    ClockTexts t = MeasureTexts(zone);
    const int vp2 = 2 * verticalPadding_;
    const int hp2 = 2 * horizontalPadding_;
    bool bothParts = t.dateLinesSize.cy > 0 && (t.timeSize.cy > 0 || t.prefixSize.cy > 0);
    int h2 = t.dateLinesSize.cy + std::max<int>(t.timeSize.cy, t.prefixSize.cy) + (bothParts ? 1 : 0);
    long long oneLineWidth = static_cast<long long>(t.blankSize.cx) + t.dateOneLineSize.cx + hp2 + t.timeSize.cx +
                             t.prefixSize.cx;
    bool fits = h2 + vp2 <= maxHeight;
    bool twoLines = lineMode_ == 1 || (t.lineFeeds > 0 && fits) || (lineMode_ == 0 && fits && oneLineWidth > maxWidth);
    int width, height;
    if (twoLines) {
        width = hp2 + std::max<int>(t.prefixSize.cx + t.timeSize.cx, t.dateLinesSize.cx);
        height = h2;
    } else {
        width = static_cast<int>(oneLineWidth);
        height = std::max<int>({t.timeSize.cy, t.prefixSize.cy, t.dateOneLineSize.cy});
    }
    SetRect(RECT{0, 0, width, height + vp2});
}

void CClock::DrawBackground() {
    RECT rect = GetRect();
    skin_->FillBackground(rect, record_->transparent ? kColourNone : kColourNotSet);
}

void CClock::DrawBorder() {
    if (skin_->GetStyleKind() == kStylePlain) return;
    skin_->DrawFrame(GetRect(), skin_->GetStyleKind() == kStyleThemedFrame, skin_->GetBorderColor(), kColourNone);
}

void CClock::Draw(int flags) {
    if (!record_ || !skin_) return;
    if (flags & kDrawBackground) DrawBackground();
    if (!(flags & kDrawTexts)) return;

    ClockTexts t = MeasureTexts(record_->currentTime);
    DrawBorder();
    const RECT r = GetRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int u = std::max<int>(t.timeSize.cy, t.prefixSize.cy);
    int a = (u > 0 && t.dateLinesSize.cy > 0) ? 1 : 0;
    bool tooLowForTwo = height < t.dateLinesSize.cy + 2 * verticalPadding_ + a + u;
    long long oneLineWidth = static_cast<long long>(t.dateOneLineSize.cx) + 2 * horizontalPadding_ +
                             t.timeSize.cx + t.blankSize.cx + t.prefixSize.cx;
    bool oneLine = lineMode_ != 1 && (t.lineFeeds == 0 || tooLowForTwo) &&
                   (lineMode_ != 0 || tooLowForTwo || width >= oneLineWidth);

    if (oneLine) {
        u = std::max<int>(u, t.dateLinesSize.cy);
        int offset = centreVertically_ ? (height - u) / 2 : verticalPadding_;
        int y = r.top + offset;
        int blank = t.dateOneLine[0] ? t.blankSize.cx : 0;
        int prefixX, dateX;
        if (centreText_) {
            int line = t.prefixSize.cx + t.dateOneLineSize.cx + blank + t.timeSize.cx;
            prefixX = r.left + (width - line) / 2;
            dateX = prefixX + t.prefixSize.cx;
        } else {
            prefixX = r.left + horizontalPadding_;
            dateX = r.right - horizontalPadding_ - t.timeSize.cx - blank - t.dateOneLineSize.cx;
        }
        int timeX = dateX + t.dateOneLineSize.cx + blank;
        if (t.prefix[0]) skin_->DrawText(prefixX, y + (u - t.prefixSize.cy) / 2, t.prefix, 0);
        if (t.dateOneLine[0]) skin_->DrawText(dateX, y + (u - t.dateOneLineSize.cy) / 2, t.dateOneLine, 0);
        if (t.time[0]) skin_->DrawText(timeX, y + (u - t.timeSize.cy) / 2, t.time, 0);
        return;
    }

    int offset = centreVertically_ ? (height - t.dateLinesSize.cy - a - u) / 2 : verticalPadding_;
    int y = r.top + offset;
    int first = t.prefixSize.cx + t.timeSize.cx;
    int x = centreText_ ? r.left + (width - first) / 2 : r.right - horizontalPadding_ - first;
    if (t.prefix[0]) skin_->DrawText(x, y + (u - t.prefixSize.cy) / 2, t.prefix, 0);
    if (t.time[0]) skin_->DrawText(x + t.prefixSize.cx, y + (u - t.timeSize.cy) / 2, t.time, 0);
    if (centreText_) {
        skin_->DrawMultiline((r.left + r.right) / 2, y + u + a, 1, t.dateLines, 0);
    } else {
        skin_->DrawMultiline(r.right - horizontalPadding_, y + u + a, 2, t.dateLines, 0);
    }
}

void CClock::DrawHighlight() {
    const BackgroundProfile* profile = GetActiveBackground();
    if (!profile || !skin_) return;
    RECT r = GetRect();
    RECT at{0, 0, r.right - r.left, r.bottom - r.top};
    COLORREF c = ResolveColour(profile->colour) & 0x00FFFFFF;
    skin_->DrawFrame(at, false, c ^ 0xFFFFFF, c ^ 0xFFFFFF);
    skin_->DrawFrame(at, true, c, c);
}

void CClock::Paint(HDC dc, HTHEME theme) {
    if (!record_ || !skin_ || !dc) return;
    const BackgroundProfile* profile = GetActiveBackground();
    if (profile) {
        PaintWithProfile(dc, theme, *profile);
        return;
    }
    DrawScope scope(*this, dc, theme);
    Draw(kDrawBackground | kDrawTexts);
}

bool CClock::Zoom(HDC dc, bool larger) {
    if (!skin_ || (skin_->GetSkinFlags() & (kSkinDigits | kSkinLetters)) || fontSize_ == 0) return false;
    int size = fontSize_;
    int next;
    if (larger) {
        if (size >= 72 || size < -200) return false;
        next = std::clamp(size * 125 / 100, -200, 72);
    } else {
        int base = skin_->GetLoadedFontHeight();
        next = size * 100 / 125;
        if (std::abs(next) < std::abs(base)) next = base;
        if (next == base) return false;
    }
    fontSize_ = next;
    SYSTEMTIME sample;
    {
        DrawScope scope(*this, dc, nullptr);
        sample = GetSampleTime();
    }
    CalcSize(dc, kUnlimited, kUnlimited, nullptr, &sample);
    return true;
}

int CClock::HasChanged(const SYSTEMTIME& utc) {
    if (!record_) return 0;
    SYSTEMTIME z = ClockTimeAt(utc, *record_);
    const SYSTEMTIME& last = record_->currentTime;
    int result = 2;
    if (SameDate(z, last) && z.wHour / 10 == last.wHour / 10) {
        bool changed = ShowsSeconds()
                           ? (z.wHour * 3600 + z.wMinute * 60 + z.wSecond) !=
                                 (last.wHour * 3600 + last.wMinute * 60 + last.wSecond)
                           : (z.wHour * 60 + z.wMinute) != (last.wHour * 60 + last.wMinute);
        result = changed ? 1 : 0;
    }
    record_->currentTime = z;
    ChooseBackground();
    return result;
}
