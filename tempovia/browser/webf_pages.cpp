// Generated pages: written to a temporary file, then shown by navigating to it.
#include <cwchar>

#include "common/platform/text_bounds.h"
#include "tempovia/browser/browser_ids.h"
#include "tempovia/browser/webf.h"
#include "tempovia/browser/webf_query.h"
#include "tempovia/news/com_ref.h"

namespace {

// Every number below 100,000 is tried once; a folder that refuses them all
// (or refuses new files outright) ends the search.
constexpr DWORD kPageNameRange = 100000;
// Navigate takes the URL from a fixed buffer of this many characters.
constexpr size_t kMaxUrlChars = 259;

}  // namespace

HANDLE TWebf::Ready() {
    if (pageFile_ != INVALID_HANDLE_VALUE) {
        OutputDebugStringW(L"Webform error: asked for Ready(), but something already is.");
        return pageFile_;
    }
    wchar_t folder[MAX_PATH] = {};
    const DWORD folderLen = GetTempPathW(MAX_PATH, folder);
    if (folderLen == 0 || folderLen >= MAX_PATH) return INVALID_HANDLE_VALUE;
    const DWORD start = GetTickCount() / 100;
    for (DWORD k = 0; k < kPageNameRange; ++k) {
        wchar_t name[MAX_PATH];
        const int len = _snwprintf(name, MAX_PATH, L"%lswbf%lu.html", folder,
                                   static_cast<unsigned long>((start + k) % kPageNameRange));
        if (len < 0 || len >= MAX_PATH) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            pageFile_ = file;
            CopyBounded(pageFileName_, name);
            return pageFile_;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

DWORD TWebf::Set(const wchar_t* text) {
    if (pageFile_ == INVALID_HANDLE_VALUE) {
        OutputDebugStringW(L"Webform error: tried to Set, but haven't Ready()ed");
        return 0;
    }
    if (!text) return 0;
    const size_t bytes = std::wcslen(text) * sizeof(wchar_t);
    DWORD total = 0;
    const char* p = reinterpret_cast<const char*>(text);
    size_t left = bytes;
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(pageFile_, p, chunk, &written, nullptr) || written == 0) break;
        total += written;
        p += written;
        left -= written;
    }
    return total;
}

void TWebf::DeleteTempFiles() {
    std::vector<std::wstring> kept;
    for (const std::wstring& name : oldPageFiles_)
        if (!DeleteFileW(name.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) kept.push_back(name);
    oldPageFiles_.swap(kept);
}

void TWebf::Go(const wchar_t* url) {
    DeleteTempFiles();
    wchar_t target[kMaxUrlChars + 1] = {};
    if (url) {
        CopyBounded(target, url);
    } else if (pageFile_ != INVALID_HANDLE_VALUE) {
        CopyBounded(target, pageFileName_);
    } else {
        OutputDebugStringW(L"Webform error: tried to Go, but haven't yet Ready/Set");
        return;
    }
    if (pageFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(pageFile_);
        pageFile_ = INVALID_HANDLE_VALUE;
        oldPageFiles_.emplace_back(pageFileName_);
    }
    if (!browser_) return;

    flags_ |= kWebfOwnNavigation | kWebfLoading | kWebfHoldCompletion;
    BstrRef bstr(target);
    VARIANT empty;
    VariantInit(&empty);
    browser_->Navigate(bstr.get(), &empty, &empty, &empty, &empty);
    if (!(flags_ & kWebfLoading)) Notify(kWebfDocumentComplete, true);
    flags_ &= ~static_cast<DWORD>(kWebfHoldCompletion);
}

const wchar_t* TWebf::GetQueryValue(const wchar_t* name) const {
    return webf::FindQueryValue(queryList_.c_str(), name);
}

IHTMLDocument2* TWebf::GetDocument() {
    if (!browser_) return nullptr;
    ComRef<IDispatch> document;
    if (FAILED(browser_->get_Document(document.put())) || !document) return nullptr;
    IHTMLDocument2* html = nullptr;
    if (FAILED(document->QueryInterface(webf_ids::kIidHtmlDocument2, reinterpret_cast<void**>(&html)))) return nullptr;
    return html;
}

IHTMLElement* TWebf::FindElement(const wchar_t* name) {
    if (!name) return nullptr;
    ComRef<IHTMLDocument2> document;
    *document.put() = GetDocument();
    if (!document) return nullptr;
    ComRef<IHTMLElementCollection> all;
    if (FAILED(document->get_all(all.put())) || !all) return nullptr;
    BstrRef bstr(name);
    VARIANT key;
    VariantInit(&key);
    key.vt = VT_BSTR;
    key.bstrVal = bstr.get();
    // Index 0: the first element when several share the name.
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = 0;
    ComRef<IDispatch> item;
    if (FAILED(all->item(key, index, item.put())) || !item) return nullptr;
    IHTMLElement* element = nullptr;
    if (FAILED(item->QueryInterface(webf_ids::kIidHtmlElement, reinterpret_cast<void**>(&element)))) return nullptr;
    return element;
}

void TWebf::Resize(int width, int height) {
    if (!browser_) return;
    browser_->put_Width(width);
    browser_->put_Height(height);
}
