#include "common/graphics/faces/mech_clock.h"

#include <algorithm>
#include <cwchar>

#include "common/graphics/faces/clock_texts.h"
#include "common/settings/time_format.h"
#include "common/platform/text_bounds.h"

namespace {

// A label: a prefix, a line feed and a date.
constexpr size_t kLabelChars = 32 + 1 + kClockDateChars + 1;
// Characters of the prefix a label shows.
constexpr size_t kLabelPrefixChars = 31;

}  // namespace

CMechClock::CMechClock(ClockRecord* record, CGraphics* skin)
    : CClock(record, skin), mechSkin_(dynamic_cast<CMechSkin*>(skin)) {}

void CMechClock::SetSize(int fontSize, int faceSize) {
    fontSize_ = fontSize;
    if (faceSize != 0) faceSize_ = faceSize;
}

bool CMechClock::ShowsSeconds() const {
    if (!record_) return false;
    return HasFace() ? record_->seconds_hand != 0 : record_->showsSeconds != 0;
}

void CMechClock::FormatLabel(const SYSTEMTIME& time, wchar_t* out, size_t outChars) const {
    if (!out || outChars == 0) return;
    out[0] = L'\0';
    if (!record_) return;
    CopyRecordText(out, std::min(outChars, kLabelPrefixChars + 1), record_->prefix);
    if (overlayPrefix_) return;
    wchar_t picture[33];
    CopyRecordText(picture, 33, record_->dateformat);
    wchar_t date[kClockDateChars + 1] = {};
    FormatDate(date, kClockDateChars + 1, time, picture, false);
    if (!date[0]) return;
    size_t n = wcslen(out);
    if (n + 1 < outChars) {
        out[n] = L'\n';
        CopyBounded(out + n + 1, outChars - n - 1, date);
    }
}

SIZE CMechClock::MeasureLabel(const SYSTEMTIME& time, wchar_t* label, size_t labelChars) {
    FormatLabel(time, label, labelChars);
    if (!skin_ || !label[0]) return SIZE{0, 0};
    return skin_->MeasureMultiline(label, 0);
}

void CMechClock::CalcSize(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time) {
    Layout(dc, maxWidth, maxHeight, theme, time, true);
}

void CMechClock::Layout(HDC dc, int maxWidth, int maxHeight, HTHEME theme, const SYSTEMTIME* time, bool scan) {
    if (!HasFace()) {
        CClock::CalcSize(dc, maxWidth, maxHeight, theme, time);
        return;
    }
    if (!record_) return;
    SIZE label{0, 0};
    {
        DrawScope scope(*this, dc, theme);
        SYSTEMTIME at = time ? *time : GetSampleTime();
        wchar_t text[kLabelChars];
        label = MeasureLabel(at, text, kLabelChars);
    }
    const int w = mechSkin_->FaceWidth();
    const long long l = static_cast<long long>(maxWidth) - 2 * horizontalPadding_;
    const long long m = static_cast<long long>(maxHeight) - 2 * verticalPadding_;
    const int below = overlayPrefix_ ? kLabelOverlay : kLabelBelow;
    const int beside = overlayPrefix_ ? kLabelOverlay : kLabelLeft;
    layoutMode_ = kLabelLeft;

    for (int i = scan ? kFaceSizeCount - 1 : 0; i >= 0; --i) {
        int h = scan ? kFaceSizes[i] : faceSize_;
        const bool last = !scan || i == 0;
        if (scan && i > 0) {
            // Faces snap to the picture's own size or half of it.
            int lower = kFaceSizes[i - 1];
            if (h > w && lower < w) {
                h = w;
            } else if (h > w / 2 && lower < w / 2) {
                h = w / 2;
            }
        }
        h = std::max(h, 1);
        faceSize_ = h;
        if (scan && h > w) continue;
        const long long withHeight = overlayPrefix_ ? h : static_cast<long long>(h) + label.cy;
        const long long withWidth = overlayPrefix_ ? h : static_cast<long long>(h) + label.cx;
        if (h >= 64 && h <= l && h <= m) {
            layoutMode_ = kLabelInside;
            break;
        }
        if (h <= l && withHeight <= m) {
            layoutMode_ = below;
            break;
        }
        if (last && maxWidth < maxHeight) {
            layoutMode_ = below;
            break;
        }
        if (withWidth <= l && h <= m) {
            layoutMode_ = beside;
            break;
        }
    }

    if (faceBitmap_.IsValid() && faceBitmap_.Width() != faceSize_) faceBitmap_.Destroy();

    const int h = faceSize_;
    int width, height;
    if (overlayPrefix_ || layoutMode_ == kLabelInside) {
        width = std::max<int>(label.cx, h);
        height = std::max<int>(label.cy, h);
    } else if (layoutMode_ == kLabelBelow) {
        width = std::max<int>(label.cx, h);
        height = label.cy + h;
    } else {
        width = label.cx + h;
        height = std::max<int>(label.cy, h);
    }
    SetRect(RECT{0, 0, width + 2 * horizontalPadding_, height + 2 * verticalPadding_});

    if (!faceBitmap_.IsValid()) {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        HasChanged(utc);
    }
}

bool CMechClock::Zoom(HDC dc, bool larger) {
    if (!HasFace()) return CClock::Zoom(dc, larger);
    const int w = mechSkin_->FaceWidth();
    int result;
    if (larger) {
        result = kFaceSizes[kFaceSizeCount - 1];
        for (int i = 1; i < kFaceSizeCount; ++i) {
            if (kFaceSizes[i] > faceSize_ || kFaceSizes[i] >= w) {
                result = kFaceSizes[i];
                break;
            }
        }
        result = std::min(result, w);
    } else {
        result = kFaceSizes[0];
        for (int i = kFaceSizeCount - 2; i >= 0; --i) {
            if (kFaceSizes[i] < faceSize_) {
                result = kFaceSizes[i];
                break;
            }
        }
        if (result < 64) return false;
        result = std::min(result, w);
    }
    if (result == faceSize_) return false;
    const int base = skin_->GetLoadedFontHeight();
    fontSize_ = (result >= 100 && base != 0) ? base * (result / 100) : base;
    faceSize_ = result;
    Layout(dc, kUnlimited, kUnlimited, nullptr, nullptr, false);
    return true;
}

void CMechClock::Paint(HDC dc, HTHEME theme) {
    if (!HasFace()) {
        CClock::Paint(dc, theme);
        return;
    }
    if (!faceBitmap_.IsValid() || !record_ || !dc) return;
    DrawScope scope(*this, dc, theme);
    const RECT r = GetRect();
    if (!record_->transparent) skin_->FillBackground(r, skin_->GetBackColor());

    wchar_t label[kLabelChars];
    const SIZE text = MeasureLabel(record_->currentTime, label, kLabelChars);
    const int size = faceSize_;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int middle = (r.left + r.right) / 2;
    int faceX = r.left + (width - size) / 2;
    int faceY = r.top + (height - size) / 2;
    if (layoutMode_ == kLabelBelow) {
        faceY = r.top + verticalPadding_;
    } else if (layoutMode_ == kLabelLeft) {
        faceX = r.right - horizontalPadding_ - size;
    }

    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, faceX, faceY, faceBitmap_.Width(), faceBitmap_.Height(), faceBitmap_.Dc(), 0, 0,
               faceBitmap_.Width(), faceBitmap_.Height(), blend);

    if (label[0]) {
        switch (layoutMode_) {
            case kLabelInside:
                skin_->DrawMultiline(middle, r.top + height * 4 / 6 - text.cy / 2, 1, label, 0);
                break;
            case kLabelOverlay:
                skin_->DrawMultiline(r.left + horizontalPadding_,
                                     std::max(r.top, r.top + verticalPadding_ + size - text.cy - 1), 0, label, 0);
                break;
            case kLabelBelow:
                skin_->DrawMultiline(middle, r.top + verticalPadding_ + size, 1, label, 0);
                break;
            default: {
                // One pixel down only where the label has room for it: a
                // label as tall as the clock would lose its last row.
                const LONG down = std::min<LONG>(1, height - 2 * verticalPadding_ - text.cy);
                skin_->DrawMultiline(faceX, r.top + verticalPadding_ + down, 2, label, 0);
                break;
            }
        }
    }

    if (!mechSkin_->Is24HourFace() && record_->suffix) {
        const bool small = faceBitmap_.Height() < 32;
        const bool pm = record_->currentTime.wHour > 11;
        const wchar_t* suffix = pm ? (small ? L"P" : L"PM") : (small ? L"A" : L"AM");
        SIZE s = skin_->MeasureText(suffix, 0);
        int x, y;
        if (layoutMode_ == kLabelInside) {
            x = middle - s.cx / 2;
            y = r.top + height * 2 / 6 - s.cy / 2;
        } else {
            x = r.right - horizontalPadding_ - s.cx;
            // A text cell taller than the face would start above the clock.
            y = layoutMode_ == kLabelOverlay ? r.top + verticalPadding_ + 1
                                             : std::max(r.top, r.top + verticalPadding_ + size - s.cy - 1);
        }
        skin_->DrawText(x, y, suffix, 0);
    }
}
