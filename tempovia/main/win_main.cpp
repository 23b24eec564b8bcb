#include <windows.h>

#include "tempovia/main/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return RunMainProgram(instance, commandLine);
}
