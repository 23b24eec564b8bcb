// Base of the main program's own windows that are not dialogs (desktop
// clocks, the timer panel, the time table, the news windows). One window
// procedure serves them all: it finds the object through the window's user
// data and hands each message to the object's OnMessage.
//
// Ownership: an object is deleted by its window only when it was made by
// NewDeletedWithWindow, which allocates it on the heap and marks it. Every
// other object (a static, a member, a stack object, one owned by a
// unique_ptr) outlives its window: when the system destroys the window the
// procedure merely unbinds it. A marked object is deleted when its window is
// destroyed by anyone but the object itself, and never in the middle of one of
// its own handlers: a handler that destroys its own window finishes first.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>

// One message as the shared window procedure hands it to its object. A
// handler that returns true fills result, which goes back to Windows.
struct WindowMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

inline constexpr wchar_t kGenericWindowClass[] = L"QVR_Generic_Window";
inline constexpr wchar_t kLayeredWindowClass[] = L"QVR_Layered_Window";
inline constexpr COLORREF kNoColorKey = 0xFFFFFFFF;

// Registers both window classes with the shared procedure, once per program.
// True only when both were registered; on a partial failure neither stays.
bool RegisterWindowClasses(HINSTANCE instance);

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CWindow {
public:
    CWindow() = default;
    // Destroys the window without deleting anything a second time.
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // A heap object that its window deletes once the window exists and is
    // destroyed. Until Create succeeds the unique_ptr owns it; after that,
    // release() it: from then on the window does.
    template <typename T, typename... Args>
    static std::unique_ptr<T> NewDeletedWithWindow(Args&&... args) {
        std::unique_ptr<T> object(new T(std::forward<Args>(args)...));
        static_cast<CWindow*>(object.get())->deleteWithWindow_ = true;
        return object;
    }

    // The base handles nothing.
    virtual bool OnMessage(WindowMessage& message);
    // Creates the window at the object's position and size: class
    // "QVR_Layered_Window" with WS_EX_LAYERED, else "QVR_Generic_Window".
    // False when the object already has a window or creation fails.
    virtual bool Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle);
    // DestroyWindow; a window that deletes its object takes it along.
    virtual void Destroy();
    // Constant opacity, kept within 10..255; applied at once to a layered window.
    virtual void SetAlpha(int alpha);

    // Destroys the window but keeps this object, even one made to be deleted
    // with its window.
    void DestroyKeepingObject();

    HWND Handle() const { return window_; }
    int X() const { return x_; }
    int Y() const { return y_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Alpha() const { return alpha_; }
    COLORREF ColorKey() const { return colorKey_; }
    bool IsDestroying() const { return destroying_; }
    bool IsDeletedWithWindow() const { return deleteWithWindow_; }

    // Position and size are used by Create.
    void SetPosition(int x, int y) {
        x_ = x;
        y_ = y;
    }
    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    // kNoColorKey for none; takes effect at the next SetAlpha.
    void SetColorKey(COLORREF key) { colorKey_ = key; }
    // Receives what OnMessage leaves unhandled (a superclassed control's procedure).
    void SetFallbackProc(WNDPROC proc) { fallback_ = proc ? proc : DefWindowProcW; }

protected:
    int x_ = 0;
    int y_ = 0;
    int width_ = 300;
    int height_ = 200;
    int alpha_ = 255;
    COLORREF colorKey_ = kNoColorKey;
    // Set while the owner itself destroys the window: the procedure then
    // leaves the object alone.
    bool destroying_ = false;

private:
    friend LRESULT CALLBACK SharedWindowProc(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
    WNDPROC fallback_ = DefWindowProcW;
    bool deleteWithWindow_ = false;  // only NewDeletedWithWindow sets it
    bool creating_ = false;          // inside CreateWindowExW: the caller still holds the object
    bool deleteDeferred_ = false;     // window gone while a handler of the object still runs
    int dispatchDepth_ = 0;          // handlers of the object on the stack
};
