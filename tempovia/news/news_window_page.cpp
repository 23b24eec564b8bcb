#include "tempovia/news/news_window_page.h"

#include <oleauto.h>
#include <mshtml.h>

#include <cwchar>

#include "tempovia/browser/browser_window.h"
#include "tempovia/news/com_ref.h"

namespace {

// Links come from the feed: a quote or bracket in one must not end the
// attribute and spill into the page.
std::wstring AttributeText(const wchar_t* text) {
    std::wstring out;
    for (const wchar_t* p = text; p && *p; ++p) {
        switch (*p) {
            case L'&': out += L"&amp;"; break;
            case L'"': out += L"&quot;"; break;
            case L'<': out += L"&lt;"; break;
            case L'>': out += L"&gt;"; break;
            default: out += *p;
        }
    }
    return out;
}

}  // namespace

NewsPageFont DefaultNewsPageFont() {
    NewsPageFont font;
    LOGFONTW lf = {};
    HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
    if (!gui || GetObjectW(gui, sizeof(lf), &lf) != sizeof(lf)) return font;
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi <= 0 || lf.lfHeight == 0) return font;
    font.face = std::wcscmp(lf.lfFaceName, L"MS Shell Dlg") == 0 ? L"Arial" : lf.lfFaceName;
    if (font.face.empty()) font.face = L"Arial";
    font.points = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, dpi);
    if (font.points <= 0) font.points = 8;
    return font;
}

std::wstring BuildItemHtml(const wchar_t* text, const wchar_t* link, const NewsPageFont& font,
                           const wchar_t* linkTitle) {
    wchar_t style[160];
    _snwprintf(style, 160, L"font-family: %ls, Helvetica; font-size: %dpt", font.face.c_str(), font.points);
    style[159] = L'\0';
    std::wstring page;
    page += L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n";
    page += L"<style type=\"text/css\">\r\n";
    page += L"body {";
    page += style;
    page += L"; margin: 4px }\r\n";
    page += L".p {";
    page += style;
    page += L"}\r\n";
    page += L"</style></head>\r\n";
    page += L"<body>\r\n";
    if (text) page += text;
    if (link && *link) {
        page += L" <a href=\"";
        page += AttributeText(link);
        page += L"\"";
        if (linkTitle && *linkTitle) {
            page += L" title=\"";
            page += AttributeText(linkTitle);
            page += L"\"";
        }
        page += L">&nbsp;&gt;&gt;&gt;&nbsp;</a>";
    }
    page += L"\r\n</body></html>\r\n";
    return page;
}

std::wstring BuildNewsMessageHtml(const wchar_t* message) {
    std::wstring page = L"<table width=\"100%\" height=\"100%\"><tr>";
    page += L"<td align=\"center\" valign=\"center\" style=\"font-size: 10pt\">";
    if (message) page += message;
    page += L"</td></tr></table>";
    return page;
}

bool WriteNewsPage(HWND browser, const std::wstring& html) {
    if (!browser) return false;
    ComRef<IHTMLDocument2> document;
    *document.put() = reinterpret_cast<IHTMLDocument2*>(SendMessageW(browser, WBM_GET_DOCUMENT, 0, 0));
    if (!document) return false;
    SAFEARRAY* lines = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    if (!lines) return false;
    bool ok = false;
    VARIANT* line = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(lines, reinterpret_cast<void**>(&line)))) {
        line->vt = VT_BSTR;
        line->bstrVal = SysAllocStringLen(html.data(), static_cast<UINT>(html.size()));
        SafeArrayUnaccessData(lines);
        ok = line->bstrVal && SUCCEEDED(document->write(lines));
        document->close();
    }
    SafeArrayDestroy(lines);  // frees the BSTR with the element
    return ok;
}
