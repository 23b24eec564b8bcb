// Rendering the analogue face: hands turned into the skin's clean face,
// lightmap, size, background highlight, then into the clock's own bitmap.
#include <algorithm>

#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/grey_ramp.h"

namespace {

// No pixel of a shaded face carries this value: shade every pixel.
constexpr uint32_t kNoKey = 0xFFFFFFFF;

uint32_t ToPixelColour(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

// A band of the hand strip, rows counted from the bottom: columns 1 to
// width - 3 and rows first to last, both inclusive.
RECT Band(int width, int first, int last) { return RECT{1, last + 1, width - 2, first}; }

}  // namespace

// Each hand lies pointing right from its pivot; 270 degrees turn it to 12.
int CMechClock::HourAngle(const SYSTEMTIME& time, int skinAngle, bool face24h) {
    const int k = face24h ? 24 : 12;
    return (((time.wHour % k) * 360 + time.wMinute * 6) / k + skinAngle + 270) % 360;
}

int CMechClock::MinuteAngle(const SYSTEMTIME& time, int skinAngle) {
    return (skinAngle + time.wMinute * 6 + 270) % 360;
}

int CMechClock::SecondAngle(const SYSTEMTIME& time, int skinAngle) {
    return (skinAngle + time.wSecond * 6 + 270) % 360;
}

int CMechClock::HasChanged(const SYSTEMTIME& utc) {
    const int changed = CClock::HasChanged(utc);
    if (!HasFace()) return changed;
    RenderFace();
    return changed > 0 ? 1 : 0;
}

void CMechClock::RenderFace() {
    if (!record_ || !mechSkin_) return;
    CMechSkin& skin = *mechSkin_;
    const int w = skin.FaceWidth();
    const int d = skin.HandRows();
    const int b = d / 3;
    if (w <= 0 || !skin.ReloadFaceBuffer()) return;
    PixelBuffer& face = skin.FaceBuffer();
    PixelBuffer& hands = skin.HandsBuffer();
    if (!faceBitmap_.IsValid() && !faceBitmap_.Create(faceSize_, faceSize_)) return;

    // A strip too narrow for three bands leaves the face bare.
    if (b > 3 && hands.IsValid()) {
        const uint32_t key = hands.GetPixel(0, 0);
        const int c = w / 2;
        const int pivotX = c + skin.GetAxisOffsetX();
        const int pivotY = c + skin.GetAxisOffsetY();
        const SYSTEMTIME& t = record_->currentTime;
        const int angle = skin.GetAngle();
        hands.DrawRotated(face, pivotX, pivotY, c, 2 * b + d / 6, Band(w, 2 * b + 1, 3 * b - 2),
                          HourAngle(t, angle, skin.Is24HourFace()), key);
        hands.DrawRotated(face, pivotX, pivotY, c, b + d / 6, Band(w, b + 1, 2 * b - 2), MinuteAngle(t, angle), key);
        if (record_->seconds_hand) {
            hands.DrawRotated(face, pivotX, pivotY, c, d / 6, Band(w, 1, b - 2), SecondAngle(t, angle), key);
        }
    }

    skin.ApplyLightmap(face, w, w);
    face.Resize(faceSize_, faceSize_, false);

    if (const BackgroundProfile* profile = GetActiveBackground()) {
        // The face is premultiplied: tinted and shaded as it is, its soft
        // edges and see-through corners would get colour beyond their alpha,
        // which blends into stray colours. The tint works on straight colours
        // and the face is premultiplied again after it.
        face.Unpremultiply();
        const uint32_t key = face.GetPixel(0, 0);
        face.BlendColor(ToPixelColour(ResolveColour(profile->colour)), key, std::min<uint32_t>(profile->opacity, 255));
        const uint32_t shadeKey = record_->transparent ? key : kNoKey;
        face.ShadeRows(shadeKey, GreyRamp.data());
        face.ShadeColumns(shadeKey, GreyRamp.data());
        face.Premultiply();
    }
    face.WriteTo(faceBitmap_);
}
