// settings.exe opens the main settings dialog from its frame. Linked into the
// program itself rather than the library, so that tests of the frame choose
// their own dialog.
#include "settings/location_picker.h"
#include "settings/main_dialog.h"
#include "settings/page_alarm.h"
#include "settings/page_clock.h"
#include "settings/page_news.h"
#include "settings/page_options_install.h"
#include "settings/page_sync.h"
#include "settings/preview.h"

namespace {

[[maybe_unused]] const bool g_installed = (InstallMainDialog(), true);
[[maybe_unused]] const bool g_alarmPages = (RegisterAlarmPages(), true);
[[maybe_unused]] const bool g_syncNewsPages = (InstallSyncPage(), InstallNewsPage(), true);

[[maybe_unused]] const bool g_optionPages = (InstallOptionPages(), true);
[[maybe_unused]] const bool g_clockPages = (InstallClockPages(), true);
[[maybe_unused]] const bool g_locationPicker = (InstallLocationPicker(), true);
[[maybe_unused]] const bool g_previews = (InstallPreviews(), true);

}  // namespace
