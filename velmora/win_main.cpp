// velmora.exe: the time service QXTime, and its installer from the command line.
#include <windows.h>

#include "velmora/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunCommandLine(GetCommandLineW()); }
