// settings.exe gives the main dialog its pages and the pages their services
// (location picker, previews). Linked into the program itself rather than the
// library, so that tests of the dialog and of the pages choose their own.
#include "settings/location_picker.h"
#include "settings/page_alarm.h"
#include "settings/page_clock.h"
#include "settings/page_news.h"
#include "settings/page_options_install.h"
#include "settings/page_sync.h"
#include "settings/preview.h"

namespace {

[[maybe_unused]] const bool g_alarmPages = (RegisterAlarmPages(), true);
[[maybe_unused]] const bool g_syncNewsPages = (InstallSyncPage(), InstallNewsPage(), true);

[[maybe_unused]] const bool g_optionPages = (InstallOptionPages(), true);
[[maybe_unused]] const bool g_clockPages = (InstallClockPages(), true);
[[maybe_unused]] const bool g_locationPicker = (InstallLocationPicker(), true);
[[maybe_unused]] const bool g_previews = (InstallPreviews(), true);

}  // namespace
