// The plug-in's exports as the library implements them; kartix_main.cpp
// gives them their undecorated C names.
#pragma once

#include <windows.h>

#include "common/records/city_record.h"

void MapAttach(HMODULE module);
DWORD MapInit(CityRecord* cities, int count);
HWND MapCreateWindow(HWND parent, int x, int y, int width, int height, int* status);
BOOL MapFree();
DWORD MapLastSysError();
void MapSetLocalString(int id, const wchar_t* text);
DWORD MapInstall();

// Physical memory, or 0xC000000 bytes when it cannot be had.
unsigned long long MapMemoryLimit();
// 0 or MAP_ERR_TEXTURE_LOAD / MAP_ERR_TEXTURE_FORMAT for an earth texture
// under the memory limit (width x height x components at most a third of it).
DWORD CheckEarthTexture(const wchar_t* path, unsigned long long memoryLimit);
