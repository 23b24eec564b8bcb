// The drawing context every clock face draws through: font, colours, the
// target DC and theme, and the text, frame and background primitives. On its
// own it renders the two built-in styles or any font face; skins derive from
// it and replace text and backgrounds with bitmaps. One object is shared by
// all clocks of the same style and counted by them.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <cstdint>
#include <cwchar>

#include "common/records/style_names.h"

class CBitmap;
class CGraphics;
class PixelBuffer;

// Colour values with a meaning of their own.
inline constexpr COLORREF kColourNotSet = 0xFF000000;  // default / not set
inline constexpr COLORREF kColourNone = 0xFFFFFFFF;    // none (-1)

// Style kinds.
inline constexpr int kStylePlain = 0;
inline constexpr int kStyleClassicFrame = 1;  // rectangle
inline constexpr int kStyleThemedFrame = 2;   // rounded rectangle

// Font sources.
inline constexpr int kFontSourceSystemClock = 0;
inline constexpr int kFontSourceClassic = 1;
inline constexpr int kFontSourceFace = 2;

// Skin flag bits (GetSkinFlags).
inline constexpr int kSkinDigits = 1;
inline constexpr int kSkinLetters = 2;
inline constexpr int kSkinLightmap = 4;
inline constexpr int kSkinFace = 8;

// Whoever keeps a registry of shared drawing objects.
class IGraphicsOwner {
public:
    virtual void OnGraphicsDestroyed(CGraphics* graphics) = 0;
    // Asked when the last clock lets go: true lets the caller delete it now.
    virtual bool MayDeleteGraphics(CGraphics* graphics) = 0;

protected:
    ~IGraphicsOwner() = default;
};

// Visual styles exist on this system (Windows 5.1 or later); set by the
// program at start. Clocks centre their text by default when it is set.
void SetThemesAvailable(bool available);
bool ThemesAvailable();

// A COLORREF for GDI: bit 31 set (other than the two marks above) names a
// system colour index in the low 24 bits.
COLORREF ResolveColour(COLORREF colour);

// DrawText and TextOut share their names with windows.h macros, which turn
// them into DrawTextW and TextOutW alike in every file that includes this one.
class CGraphics {
public:
    CGraphics();
    // Tells the owner, then lets go of the font.
    virtual ~CGraphics();
    CGraphics(const CGraphics&) = delete;
    CGraphics& operator=(const CGraphics&) = delete;

    virtual int GetSkinFlags() const { return 0; }
    virtual SIZE MeasureText(const wchar_t* text, int count);
    // A built-in style name or a font face; size in points (0 means 8).
    virtual bool Load(const wchar_t* name, int width, int size, int weight, int style);
    // colour: kColourNone (nothing for a plain face), kColourNotSet (the
    // style's own background) or a colour.
    virtual void FillBackground(const RECT& rect, COLORREF colour);
    // A brush or pen of kColourNone or kColourNotSet: hollow, or no outline.
    virtual void DrawFrame(const RECT& rect, bool rounded, COLORREF pen, COLORREF brush);
    virtual void DrawText(int x, int y, const wchar_t* text, int count);
    virtual void ApplyLightmap(PixelBuffer& target, int width, int height);
    virtual COLORREF GetBackColor() const { return backColour_; }
    // The desktop clocks key their windows with it and the settings previews
    // imitate the taskbar with it after the style has loaded.
    void SetBackColor(COLORREF colour) { backColour_ = colour; }
    virtual bool SetFontHeight(int height);
    // The quality of the text font (ANTIALIASED_QUALITY and the like); the font
    // is made again only when it changes.
    void SetFontQuality(BYTE quality);

    // count 0 or less: the whole text. A shadow adds its offset to both sides.
    SIZE GetTextExtent(HTHEME theme, const wchar_t* text, int count) const;
    // The font leaves the old DC and joins the new one (a null DC: none).
    void SetDC(HDC dc, HTHEME theme);
    void TextOut(HTHEME theme, int x, int y, const wchar_t* text, int count, COLORREF colour);
    void TextOutShadow(HTHEME theme, int x, int y, const wchar_t* text, int count);
    // Lines split at line feeds (a carriage return before one is ignored);
    // 1 pixel between lines, an empty line as high as " ".
    SIZE MeasureMultiline(const wchar_t* text, int count);
    // flags 0 left-aligned at x, 1 centred on x, 2 right-aligned at x.
    void DrawMultiline(int x, int y, int flags, const wchar_t* text, int count);

    void AddRef() { ++refCount_; }
    // True when the caller must delete the object now.
    bool Release();
    int RefCount() const { return refCount_; }

    HDC GetDC() const { return dc_; }
    HTHEME GetTheme() const { return theme_; }
    COLORREF GetTextColor() const { return textColour_; }
    void SetTextColor(COLORREF colour) { textColour_ = colour; }
    COLORREF GetBorderColor() const { return borderColour_; }
    COLORREF GetShadowColor() const { return shadowColour_; }
    int GetShadowOffset() const { return shadowOffset_; }
    int GetFontHeight() const { return font_.lfHeight; }
    int GetBaseFontHeight() const { return baseFontHeight_; }
    // The font's own lfHeight as `Load` made it: the base size in the units
    // lfHeight takes (a size in points is a negative pixel height here).
    int GetLoadedFontHeight() const { return loadedFontHeight_; }
    bool GetCentreText() const { return centreText_; }
    int GetStyleKind() const { return styleKind_; }
    void SetStyleKind(int kind) { styleKind_ = kind; }
    int GetFontSource() const { return fontSource_; }
    bool GetOpaqueText() const { return opaqueText_; }
    void SetOpaqueText(bool opaque) { opaqueText_ = opaque; }
    const wchar_t* GetName() const { return name_; }
    const LOGFONTW& GetLogFont() const { return font_; }
    HFONT GetFont() const { return fontHandle_; }

    // A 32-bit surface whose alpha is mended after GDI text drawn into its DC.
    void SetTargetBitmap(CBitmap* bitmap) { targetBitmap_ = bitmap; }
    CBitmap* GetTargetBitmap() const { return targetBitmap_; }
    void SetDefaultOwner(IGraphicsOwner* owner) { owner_ = owner; }
    IGraphicsOwner* GetOwner() const { return owner_; }

protected:
    // Alpha 255 on the target bitmap's pixels that the text just drawn covers.
    void RepairTextAlpha(HTHEME theme, int x, int y, const wchar_t* text, int length, SIZE extent, COLORREF colour);
    void SelectFont();
    void DeselectFont();
    void DeleteFont();

    IGraphicsOwner* owner_ = nullptr;
    wchar_t name_[261] = {};
    int32_t refCount_ = 0;
    HDC dc_ = nullptr;
    HTHEME theme_ = nullptr;
    CBitmap* targetBitmap_ = nullptr;
    HFONT fontHandle_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
    LOGFONTW font_ = {};
    int32_t baseFontHeight_ = 0;
    int32_t baseFontWidth_ = 0;
    int32_t loadedFontHeight_ = 0;
    COLORREF textColour_ = kColourNotSet;
    COLORREF backColour_ = kColourNone;
    COLORREF shadowColour_ = kColourNotSet;
    COLORREF borderColour_ = 0;
    int32_t shadowOffset_ = 0;
    int32_t styleKind_ = kStylePlain;
    bool centreText_;
    int32_t fontSource_ = kFontSourceFace;
    bool opaqueText_ = false;
};
