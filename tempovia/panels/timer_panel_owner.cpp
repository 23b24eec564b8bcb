#include "tempovia/panels/timer_panel_owner.h"

#include <memory>

#include "tempovia/panels/timer_panel.h"

namespace panels {
namespace {
// Plain ownership: the window procedure never deletes this object.
std::unique_ptr<CTimerPanel> g_panel;
}  // namespace

void CreateTimerPanel() {
    if (!g_panel) g_panel = std::make_unique<CTimerPanel>();
}

void ReleaseTimerPanel() {
    HideTimerPanel();
    g_panel.reset();
    FreeButtonImage();
}

CTimerPanel* TimerPanel() { return g_panel.get(); }

bool IsTimerPanelShown() { return g_panel && g_panel->IsShown(); }

bool ShowTimerPanel(HWND clockWindow, int clockNumber) {
    return g_panel && g_panel->Show(clockWindow, clockNumber);
}

void HideTimerPanel() {
    if (g_panel) g_panel->Destroy();
}

}  // namespace panels
