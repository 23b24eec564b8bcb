// What the taskbar preview holds, read from its state for the page tests
// (the drawing headers and the page's header both name the built-in styles).
#pragma once

#include <string>

namespace optionpages_test {

// The skin name of the preview panel's first clock ("" without one).
std::wstring TrayPreviewSkinName();
// The transparent flag of the preview's copy of clock record i (-1 without one).
int TrayPreviewRecordTransparent(int i);

}  // namespace optionpages_test
