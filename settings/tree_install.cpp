// settings.exe edits its settings through the program's tree. Linked into the
// program itself rather than the library, so that tests of the dialog choose
// their own tree.
#include "settings/settings_tree.h"

namespace {

[[maybe_unused]] const bool g_installed = (InstallSettingsTree(), true);

}  // namespace
