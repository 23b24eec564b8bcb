// An analogue skin: a digital skin whose folder also holds a clock face,
// clkface.png or clkface.bmp, a square face with a strip of three hands
// below it (hour band on top, then minutes, seconds at the bottom). Without
// a face picture it is simply the digital skin.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/graphics/dib_section.h"
#include "common/graphics/faces/skin.h"
#include "common/graphics/pixel_buffer.h"

class CMechSkin : public CSkin {
public:
    // Faces wider than faceSizeLimit (when above 0) are shrunk by a whole
    // factor: a clkface.png as it is read, a clkface.bmp after loading.
    explicit CMechSkin(int faceSizeLimit = 0) : faceSizeLimit_(faceSizeLimit) {}
    ~CMechSkin() override = default;

    int GetSkinFlags() const override;
    bool Load(const wchar_t* name, int width, int size, int weight, int style) override;
    void FillBackground(const RECT& rect, COLORREF colour) override;
    COLORREF GetBackColor() const override;

    bool HasFace() const { return face_.IsValid(); }
    // Premultiplied: the face (top rows) and the hand strip (bottom rows).
    const CDibSection& FaceBitmap() const { return face_; }
    // The face's width W and the rows of the hand strip below it.
    int FaceWidth() const { return face_.Width(); }
    int HandRows() const { return face_.IsValid() ? face_.Height() - face_.Width() : 0; }
    PixelBuffer& HandsBuffer() { return hands_; }
    PixelBuffer& FaceBuffer() { return faceBuffer_; }
    // The clean face back into the face buffer, ready for a new set of hands.
    bool ReloadFaceBuffer();

    COLORREF GetFaceColour() const { return faceColour_; }
    int GetFaceSizeLimit() const { return faceSizeLimit_; }
    int GetAngle() const { return angle_; }
    int GetAxisOffsetX() const { return axisOffsetX_; }
    int GetAxisOffsetY() const { return axisOffsetY_; }
    bool Is24HourFace() const { return face24h_; }

private:
    // The picture into buf, premultiplied, with the sides of its file; false
    // when neither face file loads.
    bool LoadFacePicture(const std::wstring& folder, PixelBuffer& buf, int& fileWidth, int& fileHeight);

    int32_t faceSizeLimit_;
    COLORREF faceColour_ = kColourNotSet;
    CDibSection face_;
    PixelBuffer hands_;
    PixelBuffer faceBuffer_;
    int32_t angle_ = 0;
    int32_t axisOffsetX_ = 0;
    int32_t axisOffsetY_ = 0;
    bool face24h_ = false;
};
