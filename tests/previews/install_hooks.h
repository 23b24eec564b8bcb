// The hooks InstallPreviews gives the taskbar and background pages, taken out
// of force again. Apart from the preview fixture: the taskbar page's header
// and the faces name the built-in styles alike.
#pragma once

#include <windows.h>

namespace previews_test {

struct TakenHooks {
    void (*trayRebuild)() = nullptr;
    void (*trayDraw)(const DRAWITEMSTRUCT* item) = nullptr;
    bool (*trayHasClock)() = nullptr;
    void (*profileDraw)(const DRAWITEMSTRUCT* item) = nullptr;
    bool (*profileHasClock)() = nullptr;
    bool profileChoosesColourItself = false;
};

// Runs InstallPreviews and takes back what it put in force for those pages.
TakenHooks InstallPreviewsAndTakePageHooks();

}  // namespace previews_test
