#include "common/settings/lock_failure.h"

#include "common/settings/localisation.h"
#include "resources/resource_ids.h"

std::wstring LockFailureText(DWORD failure, DWORD waitMs) {
    if (failure == WAIT_TIMEOUT) {
        return FillTextValue(Language().LoadUiString(IDS_LOCK_BUSY), std::to_wstring(waitMs / 1000).c_str());
    }
    return FillTextValue(Language().LoadUiString(IDS_LOCK_NOT_MADE), std::to_wstring(failure).c_str());
}

void ShowLockFailure(DWORD failure, DWORD waitMs, const std::wstring& lead) {
    const std::wstring reason = LockFailureText(failure, waitMs);
    const std::wstring text = lead.empty() ? reason : lead + L" " + reason;
    const std::wstring caption = Language().LoadUiString(IDS_ERROR_CAPTION);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR);
}
