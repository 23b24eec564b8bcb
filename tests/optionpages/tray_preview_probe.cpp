#include "tests/optionpages/tray_preview_probe.h"

#include "settings/preview_state.h"

namespace optionpages_test {

std::wstring TrayPreviewSkinName() {
    CClock* first = Preview().panel.Face(0);
    CGraphics* skin = first ? first->GetSkin() : nullptr;
    return skin && skin->GetName() ? skin->GetName() : L"";
}

int TrayPreviewRecordTransparent(int i) {
    const auto& records = Preview().panelRecords;
    if (i < 0 || i >= static_cast<int>(records.size())) return -1;
    return records[i].transparent;
}

}  // namespace optionpages_test
