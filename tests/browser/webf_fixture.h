// A parent window that records the browser window's WM_COMMAND notices, an
// OLE apartment per test, and a stand-in control for the failure paths.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "tempovia/browser/browser_window.h"
#include "tempovia/browser/webf.h"

namespace webf_test {

struct Notice {
    WORD id;
    WORD code;
    HWND from;
};

std::vector<Notice>& Notices();
HWND CreateParent();
// Dispatches everything queued for this thread.
void Pump();

// An IOleObject that accepts the client site but offers no events, so the
// host's set-up fails after the control already holds the site.
class FakeControl final : public IOleObject {
public:
    static FakeControl* last;
    static LONG live;
    FakeControl() { ++live; last = this; }
    ~FakeControl() { --live; if (last == this) last = nullptr; }

    LONG refs = 1;
    IOleClientSite* site = nullptr;
    bool closed = false;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleObject)) {
            *out = static_cast<IOleObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = --refs;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP SetClientSite(IOleClientSite* s) override {
        if (s) s->AddRef();
        if (site) site->Release();
        site = s;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** s) override { *s = nullptr; return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override { closed = true; return S_OK; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return E_NOTIMPL; }
    STDMETHODIMP IsUpToDate() override { return E_NOTIMPL; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

HRESULT NoControl(IOleObject** control);
HRESULT FakeControlFactory(IOleObject** control);

}  // namespace webf_test
