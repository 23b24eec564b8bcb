// The small dialog that asks for a news channel's address (dialog 202 of the
// resource library).
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

inline constexpr UINT kAddChannelResource = IDD_ADD_CHANNEL;
inline constexpr int kAddChannelEdit = 1273;
inline constexpr int kAddChannelLabel = 1271;

struct AddChannelRequest {
    int maxLength;          // characters of buffer, terminator included
    wchar_t* buffer;        // preset text in, the user's text out
    const wchar_t* caption; // a UI string id (MAKEINTRESOURCEW) or a text; null: the template's
    const wchar_t* label;   // the same for the label above the edit
};

INT_PTR CALLBACK AddChannelDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Asks the user (IDOK or IDCANCEL); nothing is asked without a buffer of at
// least 2 characters.
using ChannelPrompt = INT_PTR (*)(HWND owner, AddChannelRequest& request);
INT_PTR AskForChannel(HWND owner, AddChannelRequest& request);
// Tests answer in place of the dialog; nullptr restores the dialog.
ChannelPrompt SetChannelPrompt(ChannelPrompt prompt);
