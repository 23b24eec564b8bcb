// settings.exe opens the main settings dialog from its frame. Linked into the
// program itself rather than the library, so that tests of the frame choose
// their own dialog.
#include "settings/main_dialog.h"

namespace {

[[maybe_unused]] const bool g_installed = (InstallMainDialog(), true);

}  // namespace
