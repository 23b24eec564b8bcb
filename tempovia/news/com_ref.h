// Owning holders for COM interface pointers and BSTRs: every early return of
// the DOM walk releases what it took.
#pragma once

#include <ole2.h>

#include <string>
#include <utility>

template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out parameters: drops what is held first.
    T** put() {
        Reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

class BstrRef {
public:
    BstrRef() = default;
    explicit BstrRef(const wchar_t* text) : s_(SysAllocString(text)) {}
    ~BstrRef() { SysFreeString(s_); }
    BstrRef(const BstrRef&) = delete;
    BstrRef& operator=(const BstrRef&) = delete;

    BSTR get() const { return s_; }
    BSTR* put() {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    // A null BSTR is the empty text.
    std::wstring str() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

private:
    BSTR s_ = nullptr;
};
