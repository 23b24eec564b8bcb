// Puts the general, INI, taskbar and background profile pages and the
// general options writer into the main settings dialog's hooks.
#pragma once

void InstallOptionPages();
