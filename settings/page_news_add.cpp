#include "settings/page_news_add.h"

#include <string>

#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/platform/text_bounds.h"

namespace {

constexpr wchar_t kSection[] = L"DLG_AddChannel";
ChannelPrompt g_prompt = nullptr;

std::wstring TextOf(const wchar_t* idOrText) {
    if (!idOrText) return {};
    if (IS_INTRESOURCE(idOrText)) return Language().LoadUiString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(idOrText)));
    return idOrText;
}

INT_PTR RunDialog(HWND owner, AddChannelRequest& request) {
    return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(kAddChannelResource), owner, AddChannelDlgProc,
                           reinterpret_cast<LPARAM>(&request));
}

}  // namespace

INT_PTR CALLBACK AddChannelDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto* request = reinterpret_cast<AddChannelRequest*>(lParam);
            Language().TranslateDialog(dialog, kSection);
            if (request->caption) SetWindowTextW(dialog, TextOf(request->caption).c_str());
            if (request->label) SetDlgItemTextW(dialog, kAddChannelLabel, TextOf(request->label).c_str());
            SendDlgItemMessageW(dialog, kAddChannelEdit, EM_LIMITTEXT, request->maxLength - 1, 0);
            SetDlgItemTextW(dialog, kAddChannelEdit, request->buffer);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* request = reinterpret_cast<AddChannelRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
            if (LOWORD(wParam) == IDOK && request) {
                GetDlgItemTextW(dialog, kAddChannelEdit, request->buffer, request->maxLength);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

INT_PTR AskForChannel(HWND owner, AddChannelRequest& request) {
    if (!request.buffer || request.maxLength < 2) return IDCANCEL;
    return g_prompt ? g_prompt(owner, request) : RunDialog(owner, request);
}

ChannelPrompt SetChannelPrompt(ChannelPrompt prompt) {
    ChannelPrompt old = g_prompt;
    g_prompt = prompt;
    return old;
}
