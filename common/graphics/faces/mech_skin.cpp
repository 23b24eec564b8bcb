#include "common/graphics/faces/mech_skin.h"

#include <algorithm>

#include "common/graphics/faces/skin_ini.h"
#include "common/graphics/image_limits.h"
#include "common/graphics/png_loader.h"

namespace {

COLORREF ColourOfPixel(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// The top-left pixel of a bottom-up buffer.
uint32_t TopLeft(const PixelBuffer& buf) { return buf.GetPixel(0, buf.Rows() - 1); }

// A clkface.bmp cannot be shrunk as it is read, and a small run-length-encoded
// file may claim the largest sides: inside Explorer its picture, the buffer
// and the face bitmap would each take hundreds of MB. Faces with their hand
// strip stay far below this.
constexpr int64_t kMaxFaceBitmapPixels = 2048 * 2048;

bool FaceBitmapSidesAllowed(int64_t width, int64_t height) {
    return ImageSidesAllowed(width, height) && width * height <= kMaxFaceBitmapPixels;
}

}  // namespace

int CMechSkin::GetSkinFlags() const { return CSkin::GetSkinFlags() | (face_.IsValid() ? kSkinFace : 0); }

COLORREF CMechSkin::GetBackColor() const { return face_.IsValid() ? faceColour_ : CSkin::GetBackColor(); }

bool CMechSkin::LoadFacePicture(const std::wstring& folder, PixelBuffer& buf, int& fileWidth, int& fileHeight) {
    const std::wstring png = folder + L"\\clkface.png";
    // A large picture is shrunk as it is read: it never costs its full size.
    PngShrinkRequest request;
    request.maxWidth = faceSizeLimit_;
    if (LoadShrunkPng(buf, png.c_str(), &request)) {
        faceColour_ = ColourOfPixel(request.topLeft);
        fileWidth = request.fileWidth;
        fileHeight = request.fileHeight;
        return true;
    }
    buf.Free();
    // A picture without alpha: its top-left colour marks what is not face.
    const std::wstring bmp = folder + L"\\clkface.bmp";
    CBitmap file;
    if (!BitmapFileSidesAllowed(bmp.c_str(), FaceBitmapSidesAllowed)) return false;
    if (!file.LoadFile(bmp.c_str(), LR_CREATEDIBSECTION)) return false;
    if (!buf.LoadFromBitmap(file, 0, 0)) return false;
    uint32_t key = TopLeft(buf);
    faceColour_ = ColourOfPixel(key);
    buf.KeyToAlpha(key, true);
    fileWidth = buf.GetWidth();
    fileHeight = buf.Rows();
    return true;
}

bool CMechSkin::Load(const wchar_t* name, int width, int size, int weight, int style) {
    bool loaded = CSkin::Load(name, width, size, weight, style);
    face_.Destroy();
    hands_.Free();
    faceBuffer_.Free();
    faceColour_ = kColourNotSet;
    angle_ = 0;
    axisOffsetX_ = axisOffsetY_ = 0;
    face24h_ = false;
    if (!name || !*name) return loaded;

    const std::wstring folder = FolderFor(name);
    PixelBuffer buf;
    int pictureWidth = 0, pictureHeight = 0;
    if (!LoadFacePicture(folder, buf, pictureWidth, pictureHeight)) {
        face_.Destroy();
        return loaded;
    }
    // A face is square with the hands below it: a picture lower than wide
    // has no room for the face and is no face at all.
    if (pictureHeight < pictureWidth) {
        face_.Destroy();
        return loaded;
    }
    // A clkface.png comes within the limit already; a clkface.bmp at its own size.
    const int k = static_cast<int>(WholeShrinkFactor(buf.GetWidth(), faceSizeLimit_));
    if (k > 1) buf.Resize(buf.GetWidth() / k, buf.Rows() / k, true);
    // The face bitmap only at the size drawn: a large picture is shrunk first.
    if (!face_.Create(buf.GetWidth(), buf.Rows()) || !buf.WriteTo(face_)) {
        face_.Destroy();
        return loaded;
    }

    const std::wstring ini = folder + L"\\skin.ini";
    angle_ = ReadSkinNumber(ini.c_str(), L"clock", L"angle", 0) % 360;
    if (angle_ < 0) angle_ += 360;
    face24h_ = ReadSkinNumber(ini.c_str(), L"clock", L"face24h", 0) != 0;
    axisOffsetX_ = ReadSkinNumber(ini.c_str(), L"clock", L"axis_ofs_x", 0);
    axisOffsetY_ = ReadSkinNumber(ini.c_str(), L"clock", L"axis_ofs_y", 0);
    if (face_.Width() != pictureWidth) {
        axisOffsetX_ = static_cast<int32_t>(static_cast<int64_t>(axisOffsetX_) * face_.Width() / pictureWidth);
        axisOffsetY_ = static_cast<int32_t>(static_cast<int64_t>(axisOffsetY_) * face_.Width() / pictureWidth);
    }

    const int rows = HandRows();
    if (rows / 3 > 2) hands_.LoadFromBitmap(face_, 0, rows);
    // Without a hand strip the face is still a face: it is drawn bare.
    ReloadFaceBuffer();
    return loaded;
}

bool CMechSkin::ReloadFaceBuffer() {
    if (!face_.IsValid()) return false;
    return faceBuffer_.LoadFromBitmap(face_, HandRows(), face_.Width());
}

void CMechSkin::FillBackground(const RECT& rect, COLORREF colour) {
    if (!face_.IsValid() || !dc_) {
        CSkin::FillBackground(rect, colour);
        return;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (colour == kColourNone) {
        // A transparent clock: the face picture's clear corner.
        StretchBlt(dc_, rect.left, rect.top, width, height, face_.Dc(), 0, 0, 1, 1, SRCCOPY);
        return;
    }
    CBitmap* target = targetBitmap_;
    if (!target || target->Dc() != dc_) {
        CSkin::FillBackground(rect, colour);
        return;
    }
    // GDI brushes leave alpha at 0 in a 32-bit surface: one opaque pixel of
    // the face colour is set directly and stretched over the rectangle.
    int x = std::max<LONG>(rect.left, 0);
    int y = std::max<LONG>(rect.top, 0);
    uint32_t pixel = 0xFF000000u | (static_cast<uint32_t>(GetRValue(faceColour_)) << 16) |
                     (static_cast<uint32_t>(GetGValue(faceColour_)) << 8) | GetBValue(faceColour_);
    int surfaceHeight = target->Height() < 0 ? -target->Height() : target->Height();
    if (!target->SetPixel(x, surfaceHeight - 1 - y, pixel)) {
        x = rect.left;
        y = rect.top;
        ::SetPixel(dc_, x, y, faceColour_);
    }
    StretchBlt(dc_, rect.left, rect.top, width, height, dc_, x, y, 1, 1, SRCCOPY);
}
