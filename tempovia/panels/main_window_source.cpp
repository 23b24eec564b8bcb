#include "tempovia/panels/main_window_source.h"

namespace panels {
namespace {
MainWindowFn g_source = nullptr;
}

void SetMainWindowSource(MainWindowFn source) { g_source = source; }

HWND MainWindow() { return g_source ? g_source() : nullptr; }

}  // namespace panels
