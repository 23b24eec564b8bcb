#include "settings/settings_app.h"

#include "common/settings/localisation.h"
#include "settings/later_parts.h"

SettingsApp g_settingsApp;

namespace {
SettingsParts g_parts;
}  // namespace

const SettingsParts& LaterParts() { return g_parts; }

SettingsParts SetSettingsParts(const SettingsParts& parts) {
    SettingsParts old = g_parts;
    g_parts = parts;
    return old;
}

void LoadFrameStrings() {
    Language().LoadUiString(kFrameCaptionId, g_settingsApp.frameCaption, kFrameTextChars + 1);
    Language().LoadUiString(kEmptyTrayPreviewId, g_settingsApp.emptyTrayText, kFrameTextChars + 1);
}
