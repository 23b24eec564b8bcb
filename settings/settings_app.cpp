#include "settings/settings_app.h"

#include "common/settings/localisation.h"

SettingsApp g_settingsApp;

void LoadFrameStrings() {
    Language().LoadUiString(kFrameCaptionId, g_settingsApp.frameCaption, kFrameTextChars + 1);
    Language().LoadUiString(kEmptyTrayPreviewId, g_settingsApp.emptyTrayText, kFrameTextChars + 1);
}
