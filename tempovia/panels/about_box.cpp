#include "tempovia/panels/about_box.h"

#include <cstdio>

#include "common/platform/dialog_utils.h"
#include "common/platform/hyperlink_control.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "tempovia/panels/one_text_format.h"

namespace panels {
namespace {

HWND g_about = nullptr;

bool AboutOpen() { return g_about && IsWindow(g_about); }

// Replaces the "%s" of an item's own (translated) text with the argument.
void FillItemFormat(HWND dialog, int item, const wchar_t* argument) {
    HWND control = GetDlgItem(dialog, item);
    if (!control) return;
    wchar_t format[256] = {};
    GetWindowTextW(control, format, static_cast<int>(std::size(format)));
    wchar_t text[320] = {};
    FormatOneText(format, argument, text, std::size(text));
    SetWindowTextW(control, text);
}

void InitAbout(HWND dialog) {
    g_about = dialog;
    wchar_t section[32] = {};
    swprintf(section, std::size(section), kAboutSectionFormat, static_cast<int>(kAboutDialogId));
    Language().TranslateDialog(dialog, section);

    wchar_t version[kVersionChars + 1] = {};
    if (HMODULE module = ResourceModule()) {
        LoadStringW(module, kResourceVersionId, version, kVersionChars + 1);
    }
    FillItemFormat(dialog, kAboutVersionId, version);

    if (HWND link = GetDlgItem(dialog, kAboutLinkId)) SubclassHyperlink(link);
    CenterOnDesktop(dialog);
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            InitAbout(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                DestroyWindow(dialog);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            if (g_about == dialog) g_about = nullptr;
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into the dialog manager.
        return FALSE;
    }
}

INT_PTR RunAboutDialog() {
    if (AboutOpen()) {
        SetForegroundWindow(g_about);
        return reinterpret_cast<INT_PTR>(g_about);
    }
    g_about = nullptr;
    HMODULE module = ResourceModule();
    if (!module) return 0;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kAboutDialogId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* dialogTemplate = loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    if (!dialogTemplate) return 0;
    HWND about = CreateDialogIndirectParamW(module, dialogTemplate, nullptr, AboutDialogProc, 0);
    if (!about) return 0;
    g_about = about;
    ShowWindow(about, SW_SHOW);
    SetForegroundWindow(about);

    HWND last = about;
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) continue;
        if (!(AboutOpen() && IsDialogMessageW(g_about, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!AboutOpen()) return 1;
        last = g_about;
    }
    // The quit was meant for the program's own loop: hand it on.
    PostQuitMessage(static_cast<int>(msg.wParam));
    if (IsWindow(last)) SetForegroundWindow(last);
    return reinterpret_cast<INT_PTR>(last);
}

bool ShowAboutDialog() {
    if (!AboutOpen()) return false;
    BringWindowToTop(g_about);
    SetForegroundWindow(g_about);
    return true;
}

void CloseAboutDialog() {
    if (AboutOpen()) DestroyWindow(g_about);
    g_about = nullptr;
}

HWND AboutWindow() { return AboutOpen() ? g_about : nullptr; }

}  // namespace panels
