#include "tempovia/browser/webf.h"

#include <exdispid.h>
#include <mshtmdid.h>
#include <ocidl.h>

#include "tempovia/browser/browser_ids.h"
#include "tempovia/browser/webf_query.h"
#include "tempovia/news/com_ref.h"

namespace {

volatile LONG g_liveHosts = 0;
WebfControlFactory g_factory = nullptr;

HRESULT CreateRealControl(IOleObject** control) {
    return CoCreateInstance(webf_ids::kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                            reinterpret_cast<void**>(control));
}

// Images, video and background sounds load; script errors stay silent. A
// feed's HTML comes from anyone: it runs no scripts, Java or ActiveX controls
// and downloads none.
constexpr LONG kDownloadControl = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS | DLCTL_SILENT | DLCTL_NO_SCRIPTS |
                                  DLCTL_NO_JAVA | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_DLACTIVEXCTLS;
static_assert(kDownloadControl == 0x400007F0);

// The event arguments arrive by reference or by value, as the sender chose.
const VARIANT* Deref(const VARIANT& v) {
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return v.pvarVal;
    return &v;
}

}  // namespace

void TWebf::SetControlFactory(WebfControlFactory factory) { g_factory = factory; }
LONG TWebf::LiveCount() { return InterlockedCompareExchange(&g_liveHosts, 0, 0); }

TWebf::TWebf(HWND window)
    : clientSite(this),
      inPlaceSite(this),
      inPlaceFrame(this),
      dispatch(this),
      docHostUIHandler(this),
      docHostShowUI(this),
      window_(window) {
    const LONG_PTR style = window ? GetWindowLongPtrW(window, GWL_STYLE) : 0;
    scrollBars_ = (style & (WS_VSCROLL | WS_HSCROLL)) ? 1 : 0;
    InterlockedIncrement(&g_liveHosts);
}

TWebf::~TWebf() {
    // A page that was written but never shown is of no further use.
    if (pageFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(pageFile_);
        pageFile_ = INVALID_HANDLE_VALUE;
        oldPageFiles_.emplace_back(pageFileName_);
    }
    DeleteTempFiles();
    InterlockedDecrement(&g_liveHosts);
}

TWebf* TWebf::Create(HWND window) {
    TWebf* host = new (std::nothrow) TWebf(window);
    if (!host) return nullptr;
    // Held before the control sees the site, so that the control's own
    // AddRef/Release pairs during set-up cannot free the host.
    host->AddRef();
    host->SetUp();
    return host;
}

bool TWebf::SetUp() {
    ComRef<IOleObject> control;
    const HRESULT created = (g_factory ? g_factory : CreateRealControl)(control.put());
    if (FAILED(created) || !control) return false;

    bool siteSet = false;
    bool ok = false;
    ComRef<IConnectionPoint> point;
    do {
        if (FAILED(control->SetClientSite(&clientSite))) break;
        siteSet = true;
        control->SetHostNames(L"MyHost", L"MyDoc");
        if (FAILED(OleSetContainedObject(control.get(), TRUE))) break;
        RECT rect = {};
        if (window_) GetClientRect(window_, &rect);
        if (FAILED(control->DoVerb(OLEIVERB_SHOW, nullptr, &clientSite, -1, window_, &rect))) break;

        ComRef<IConnectionPointContainer> container;
        if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, container.put_void())) || !container)
            break;
        if (FAILED(container->FindConnectionPoint(webf_ids::kDiidWebBrowserEvents2, point.put())) || !point) break;
        if (FAILED(point->Advise(&dispatch, &eventCookie_))) {
            eventCookie_ = 0;
            break;
        }
        if (FAILED(control->QueryInterface(webf_ids::kIidWebBrowser2, reinterpret_cast<void**>(&browser_))) ||
            !browser_) {
            browser_ = nullptr;
            break;
        }
        ok = true;
    } while (false);

    if (!ok) {
        // Give back every reference the control took on the site and sink.
        if (eventCookie_ && point) point->Unadvise(eventCookie_);
        eventCookie_ = 0;
        if (siteSet) {
            control->Close(OLECLOSE_NOSAVE);
            control->SetClientSite(nullptr);
        }
    }
    return ok;
}

void TWebf::Close() {
    if (!browser_) return;
    if (eventCookie_) {
        ComRef<IConnectionPointContainer> container;
        ComRef<IConnectionPoint> point;
        if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.put_void())) && container &&
            SUCCEEDED(container->FindConnectionPoint(webf_ids::kDiidWebBrowserEvents2, point.put())) && point)
            point->Unadvise(eventCookie_);
        eventCookie_ = 0;
    }
    ComRef<IOleObject> control;
    if (SUCCEEDED(browser_->QueryInterface(IID_IOleObject, control.put_void())) && control) {
        control->Close(OLECLOSE_NOSAVE);
        control->SetClientSite(nullptr);
    }
    browser_->Release();
    browser_ = nullptr;
}

STDMETHODIMP TWebf::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown))
        *out = static_cast<IUnknown*>(this);
    else if (IsEqualIID(riid, IID_IOleClientSite))
        *out = static_cast<IOleClientSite*>(&clientSite);
    else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
        *out = static_cast<IOleInPlaceSite*>(&inPlaceSite);
    else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame))
        *out = static_cast<IOleInPlaceFrame*>(&inPlaceFrame);
    else if (IsEqualIID(riid, IID_IDispatch))
        *out = static_cast<IDispatch*>(&dispatch);
    else if (IsEqualIID(riid, webf_ids::kIidDocHostUIHandler))
        *out = static_cast<IDocHostUIHandler*>(&docHostUIHandler);
    else if (IsEqualIID(riid, webf_ids::kIidDocHostShowUI))
        *out = static_cast<IDocHostShowUI*>(&docHostShowUI);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TWebf::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }

STDMETHODIMP_(ULONG) TWebf::Release() {
    const LONG left = InterlockedDecrement(&refCount_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

// --- client site ---

STDMETHODIMP TWebf::TOleClientSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TWebf::TOleClientSite::GetContainer(IOleContainer** out) {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
}

// --- in-place site and frame ---

STDMETHODIMP TWebf::TOleInPlaceSite::GetWindow(HWND* out) {
    if (!out) return E_POINTER;
    *out = host_->window_;
    return S_OK;
}

STDMETHODIMP TWebf::TOleInPlaceSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                                      LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = &host_->inPlaceFrame;
    host_->AddRef();
    *doc = nullptr;
    RECT rect = {};
    if (host_->window_) GetClientRect(host_->window_, &rect);
    *pos = rect;
    *clip = rect;
    info->fMDIApp = FALSE;
    info->hwndFrame = host_->window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP TWebf::TOleInPlaceSite::OnPosRectChange(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (!host_->browser_) return S_OK;
    ComRef<IOleInPlaceObject> object;
    if (SUCCEEDED(host_->browser_->QueryInterface(IID_IOleInPlaceObject, object.put_void())) && object)
        object->SetObjectRects(rect, rect);
    return S_OK;
}

STDMETHODIMP TWebf::TOleInPlaceFrame::GetWindow(HWND* out) {
    if (!out) return E_POINTER;
    *out = host_->window_;
    return S_OK;
}

// --- event sink ---

STDMETHODIMP TWebf::TDispatch::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

HRESULT TWebf::OnInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) {
    switch (id) {
        case DISPID_AMBIENT_DLCONTROL:
            if (result) {
                VariantInit(result);
                result->vt = VT_I4;
                result->lVal = kDownloadControl;
            }
            return S_OK;
        case DISPID_BEFORENAVIGATE2:
            OnBeforeNavigate(params);
            return S_OK;
        case DISPID_DOCUMENTCOMPLETE:
            flags_ &= ~static_cast<DWORD>(kWebfLoading);
            if (!(flags_ & kWebfHoldCompletion)) Notify(kWebfDocumentComplete, true);
            return S_OK;
        case DISPID_NAVIGATEERROR:
            OnNavigateError(params);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel):
// the arguments arrive last first.
void TWebf::OnBeforeNavigate(DISPPARAMS* params) {
    if (flags_ & kWebfOwnNavigation) {
        flags_ &= ~static_cast<DWORD>(kWebfOwnNavigation);
        return;
    }
    if (!params || params->cArgs < 7 || !params->rgvarg) return;
    VARIANT& cancel = params->rgvarg[0];
    if (cancel.vt == (VT_BOOL | VT_BYREF) && cancel.pboolVal) *cancel.pboolVal = VARIANT_TRUE;
    // Frames, scripts and refreshes of a page move on their own: they are
    // stopped, and only a click of the user in the page itself is a link.
    // Any navigation uses up the click, so that none that follows can pass
    // for it.
    const bool clicked = TakeUserInput();
    if (!clicked || !IsTopLevel(params->rgvarg[6])) return;

    const VARIANT* url = Deref(params->rgvarg[5]);
    queryText_.clear();
    if (url->vt == VT_BSTR && url->bstrVal)
        queryText_.assign(url->bstrVal, SysStringLen(url->bstrVal));
    else if (url->vt == (VT_BSTR | VT_BYREF) && url->pbstrVal && *url->pbstrVal)
        queryText_.assign(*url->pbstrVal, SysStringLen(*url->pbstrVal));
    queryList_ = webf::ParseQueryList(queryText_.c_str());
    Notify(kWebfLinkFollowed, true);
}

// The navigating frame is the control itself, not a frame inside its page.
bool TWebf::IsTopLevel(const VARIANT& frame) const {
    if (!browser_) return false;
    const VARIANT* v = Deref(frame);
    IDispatch* dispatch = nullptr;
    if (v->vt == VT_DISPATCH)
        dispatch = v->pdispVal;
    else if (v->vt == (VT_DISPATCH | VT_BYREF) && v->ppdispVal)
        dispatch = *v->ppdispVal;
    if (!dispatch) return false;
    ComRef<IUnknown> navigating;
    ComRef<IUnknown> own;
    if (FAILED(dispatch->QueryInterface(IID_IUnknown, navigating.put_void())) ||
        FAILED(browser_->QueryInterface(IID_IUnknown, own.put_void())))
        return false;
    return navigating.get() == own.get();
}

bool TWebf::TakeUserInput() {
    const bool recent = inputTick_ != 0 && GetTickCount() - inputTick_ <= kWebfUserInputMs;
    inputTick_ = 0;  // one click, one link
    return recent;
}

// NavigateError(pDisp, URL, Frame, StatusCode, Cancel).
void TWebf::OnNavigateError(DISPPARAMS* params) {
    lastError_ = 0;
    if (params && params->cArgs >= 5 && params->rgvarg) {
        const VARIANT* status = Deref(params->rgvarg[1]);
        if (status->vt == VT_I4 || status->vt == VT_UI4 || status->vt == VT_INT)
            lastError_ = status->lVal;
        else if (status->vt == (VT_I4 | VT_BYREF) && status->plVal)
            lastError_ = *status->plVal;
    }
    Notify(kWebfNavigateError, false);
}

void TWebf::Notify(WORD code, bool post) {
    if (!window_) return;
    HWND parent = GetParent(window_);
    if (!parent) return;
    const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(window_)), code);
    if (post)
        PostMessageW(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(window_));
    else
        SendMessageW(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(window_));
}

// --- document host UI ---

STDMETHODIMP TWebf::TDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_NO3DOUTERBORDER;
    if (!host_->scrollBars_) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
    return S_OK;
}

STDMETHODIMP TWebf::TDocHostUIHandler::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return S_FALSE;
}

STDMETHODIMP TWebf::TDocHostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP TWebf::TDocHostUIHandler::GetExternal(IDispatch** out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP TWebf::TDocHostUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP TWebf::TDocHostUIHandler::FilterDataObject(IDataObject*, IDataObject** out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP TWebf::TDocHostShowUI::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT* result) {
    if (result) *result = IDCANCEL;
    return S_OK;
}
