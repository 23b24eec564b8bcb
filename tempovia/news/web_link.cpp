#include "tempovia/news/web_link.h"

#include <cwchar>

#include "common/platform/system_seam.h"

bool IsOpenableLink(const wchar_t* link) {
    if (!link) return false;
    for (const wchar_t* scheme : {L"http://", L"https://", L"mailto:"}) {
        if (_wcsnicmp(link, scheme, std::wcslen(scheme)) == 0) return true;
    }
    return false;
}

bool OpenWebLink(HWND owner, const std::wstring& link) {
    if (!IsOpenableLink(link.c_str())) return false;
    const HINSTANCE result = System().ShellExecuteOpen(owner, L"open", link.c_str(), nullptr, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
