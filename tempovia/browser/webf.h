// TWebf: the container side of the WebBrowser control inside one
// "Browser Control Class" window. The nested objects are the interfaces the
// control asks its site for; they all count references on the one host.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>

#include <string>
#include <vector>

// Creates the control, asking for IOleObject. Tests put a stand-in here.
using WebfControlFactory = HRESULT (*)(IOleObject** control);

// WM_COMMAND codes sent to the parent window.
enum : WORD {
    kWebfLinkFollowed = 2,      // posted; the query list holds the link's pairs
    kWebfDocumentComplete = 3,  // posted
    kWebfNavigateError = 4,     // sent; WM_USER+7 gives the status code
};

// State flags.
enum : DWORD {
    kWebfOwnNavigation = 1,
    kWebfLoading = 2,
    kWebfHoldCompletion = 4,
};

class TWebf final : public IUnknown {
public:
    // Creates the host for `window` with one reference held by the caller.
    // The answer's Browser() is NULL when the control could not be set up.
    static TWebf* Create(HWND window);
    static void SetControlFactory(WebfControlFactory factory);  // NULL: the real control
    static LONG LiveCount();  // hosts not yet deleted, for leak checks

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // Disconnects the events, closes the control and drops it.
    void Close();

    HANDLE Ready();
    DWORD Set(const wchar_t* text);
    void Go(const wchar_t* url);
    void DeleteTempFiles();

    const wchar_t* QueryList() const { return queryList_.c_str(); }
    const wchar_t* QueryText() const { return queryText_.c_str(); }
    const wchar_t* GetQueryValue(const wchar_t* name) const;
    IHTMLDocument2* GetDocument();
    IHTMLElement* FindElement(const wchar_t* name);
    void Resize(int width, int height);

    // The user clicked or pressed Enter inside the browser window: the next
    // navigation of the page itself, soon after, is a link the user followed.
    void NoteUserInput() { inputTick_ = GetTickCount(); }

    IWebBrowser2* Browser() const { return browser_; }
    HWND Window() const { return window_; }
    DWORD Flags() const { return flags_; }
    LONG LastError() const { return lastError_; }
    HANDLE PageFile() const { return pageFile_; }
    const wchar_t* PageFileName() const { return pageFileName_; }
    const std::vector<std::wstring>& OldPageFiles() const { return oldPageFiles_; }
    bool HadScrollBars() const { return scrollBars_ != 0; }
    ULONG RefCount() const { return static_cast<ULONG>(refCount_); }

    // Event sink entry (DWebBrowserEvents2 and the ambient properties).
    HRESULT OnInvoke(DISPID id, DISPPARAMS* params, VARIANT* result);

    class TOleClientSite : public IOleClientSite {
    public:
        explicit TOleClientSite(TWebf* host) : host_(host) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return host_->QueryInterface(riid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return host_->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return host_->Release(); }
        STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
        STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
        STDMETHODIMP GetContainer(IOleContainer** out) override;
        STDMETHODIMP ShowObject() override { return S_OK; }
        STDMETHODIMP OnShowWindow(WINBOOL) override { return E_NOTIMPL; }
        STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    private:
        TWebf* host_;
    };

    class TOleInPlaceSite : public IOleInPlaceSite {
    public:
        explicit TOleInPlaceSite(TWebf* host) : host_(host) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return host_->QueryInterface(riid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return host_->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return host_->Release(); }
        STDMETHODIMP GetWindow(HWND* out) override;
        STDMETHODIMP ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
        STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
        STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
        STDMETHODIMP OnUIActivate() override { return S_OK; }
        STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                      LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
        STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
        STDMETHODIMP OnUIDeactivate(WINBOOL) override { return S_OK; }
        STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
        STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
        STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
        STDMETHODIMP OnPosRectChange(LPCRECT rect) override;

    private:
        TWebf* host_;
    };

    class TOleInPlaceFrame : public IOleInPlaceFrame {
    public:
        explicit TOleInPlaceFrame(TWebf* host) : host_(host) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return host_->QueryInterface(riid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return host_->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return host_->Release(); }
        STDMETHODIMP GetWindow(HWND* out) override;
        STDMETHODIMP ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
        STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
        STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
        STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
        STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
        STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
        STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
        STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
        STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
        STDMETHODIMP EnableModeless(WINBOOL) override { return S_OK; }
        STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return E_NOTIMPL; }

    private:
        TWebf* host_;
    };

    class TDispatch : public IDispatch {
    public:
        explicit TDispatch(TWebf* host) : host_(host) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return host_->QueryInterface(riid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return host_->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return host_->Release(); }
        STDMETHODIMP GetTypeInfoCount(UINT* count) override;
        STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_FAIL; }
        STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_FAIL; }
        STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                            UINT*) override {
            return host_->OnInvoke(id, params, result);
        }

    private:
        TWebf* host_;
    };

    class TDocHostUIHandler : public IDocHostUIHandler {
    public:
        explicit TDocHostUIHandler(TWebf* host) : host_(host) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return host_->QueryInterface(riid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return host_->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return host_->Release(); }
        STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
        STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
        STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                            IOleInPlaceUIWindow*) override {
            return S_OK;
        }
        STDMETHODIMP HideUI() override { return S_OK; }
        STDMETHODIMP UpdateUI() override { return S_OK; }
        STDMETHODIMP EnableModeless(WINBOOL) override { return S_OK; }
        STDMETHODIMP OnDocWindowActivate(WINBOOL) override { return S_OK; }
        STDMETHODIMP OnFrameWindowActivate(WINBOOL) override { return S_OK; }
        STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, WINBOOL) override { return S_OK; }
        STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
        STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
        STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override;
        STDMETHODIMP GetExternal(IDispatch** out) override;
        STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override;
        STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override;

    private:
        TWebf* host_;
    };

    class TDocHostShowUI : public IDocHostShowUI {
    public:
        explicit TDocHostShowUI(TWebf* host) : host_(host) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return host_->QueryInterface(riid, out); }
        STDMETHODIMP_(ULONG) AddRef() override { return host_->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return host_->Release(); }
        STDMETHODIMP ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT* result) override;
        STDMETHODIMP ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override { return S_OK; }

    private:
        TWebf* host_;
    };

    TOleClientSite clientSite;
    TOleInPlaceSite inPlaceSite;
    TOleInPlaceFrame inPlaceFrame;
    TDispatch dispatch;
    TDocHostUIHandler docHostUIHandler;
    TDocHostShowUI docHostShowUI;

private:
    explicit TWebf(HWND window);
    ~TWebf();
    TWebf(const TWebf&) = delete;
    TWebf& operator=(const TWebf&) = delete;

    bool SetUp();
    void Notify(WORD code, bool post);
    void OnBeforeNavigate(DISPPARAMS* params);
    bool IsTopLevel(const VARIANT& frame) const;
    bool TakeUserInput();
    void OnNavigateError(DISPPARAMS* params);

    volatile LONG refCount_ = 0;
    DWORD flags_ = 0;
    HWND window_;
    IWebBrowser2* browser_ = nullptr;
    DWORD eventCookie_ = 0;
    BYTE scrollBars_ = 0;
    std::wstring queryText_;
    std::wstring queryList_;
    HANDLE pageFile_ = INVALID_HANDLE_VALUE;
    wchar_t pageFileName_[MAX_PATH] = {};
    std::vector<std::wstring> oldPageFiles_;
    LONG lastError_ = 0;
    DWORD inputTick_ = 0;  // GetTickCount of the last click or Enter, 0 when used
};

// How long after a click or Enter a navigation still counts as its result.
inline constexpr DWORD kWebfUserInputMs = 1000;
