#include "settings/common_dialogs.h"

#include <cderr.h>

#include "common/platform/library_on_first_use.h"

namespace {

const LibraryOnFirstUse& Dialogs() {
    static const LibraryOnFirstUse library(L"comdlg32.dll");
    return library;
}

}  // namespace

BOOL WINAPI OpenFileDialog(OPENFILENAMEW* ofn) {
    static const auto open = Dialogs().Entry<decltype(&GetOpenFileNameW)>("GetOpenFileNameW");
    return open ? open(ofn) : FALSE;
}

BOOL WINAPI SaveFileDialog(OPENFILENAMEW* ofn) {
    static const auto save = Dialogs().Entry<decltype(&GetSaveFileNameW)>("GetSaveFileNameW");
    return save ? save(ofn) : FALSE;
}

DWORD WINAPI FileDialogError() {
    static const auto error = Dialogs().Entry<decltype(&CommDlgExtendedError)>("CommDlgExtendedError");
    return error ? error() : static_cast<DWORD>(CDERR_INITIALIZATION);
}

BOOL WINAPI ChooseColourDialog(CHOOSECOLORW* cc) {
    static const auto choose = Dialogs().Entry<decltype(&ChooseColorW)>("ChooseColorW");
    return choose ? choose(cc) : FALSE;
}
