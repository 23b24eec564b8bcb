// Thin owners for GDI resources: one small class per kind, each giving back
// what it took on every exit path (early returns included).
#pragma once

#include <windows.h>

namespace gdi {

// A DC of the whole screen, released when the object goes.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A memory DC compatible with the screen, deleted when the object goes.
class MemoryDc {
public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Any GDI object (bitmap, brush, pen, font), deleted when the object goes.
// The object must not be selected into a DC by then.
template <typename Handle>
class Object {
public:
    explicit Object(Handle h = nullptr) : h_(h) {}
    ~Object() {
        if (h_) DeleteObject(h_);
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Handle get() const { return h_; }
    Handle release() {
        Handle h = h_;
        h_ = nullptr;
        return h;
    }
    explicit operator bool() const { return h_ != nullptr; }

private:
    Handle h_;
};

// Selects an object into a DC for a scope and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

    explicit operator bool() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Sets a DC's text colour for a scope.
class ScopedTextColor {
public:
    ScopedTextColor(HDC dc, COLORREF colour) : dc_(dc), previous_(SetTextColor(dc, colour)) {}
    ~ScopedTextColor() {
        if (previous_ != CLR_INVALID) SetTextColor(dc_, previous_);
    }
    ScopedTextColor(const ScopedTextColor&) = delete;
    ScopedTextColor& operator=(const ScopedTextColor&) = delete;

private:
    HDC dc_;
    COLORREF previous_;
};

// Sets a DC's background colour for a scope.
class ScopedBkColor {
public:
    ScopedBkColor(HDC dc, COLORREF colour) : dc_(dc), previous_(SetBkColor(dc, colour)) {}
    ~ScopedBkColor() {
        if (previous_ != CLR_INVALID) SetBkColor(dc_, previous_);
    }
    ScopedBkColor(const ScopedBkColor&) = delete;
    ScopedBkColor& operator=(const ScopedBkColor&) = delete;

private:
    HDC dc_;
    COLORREF previous_;
};

}  // namespace gdi
