// Error codes of the map plug-in kartix.dll, shared by the plug-in that
// returns them and the hosts' loader that reports them (the texts stay with
// the hosts), and the longest FreeMap may take, which hosts budget for.
#pragma once

#include <windows.h>

// Every code carries this bit; hosts strip it to report the number alone.
inline constexpr DWORD MAP_ERR_FLAG = 0x20000000;
inline constexpr DWORD MAP_ERR_LOAD_PLUGIN = 0x20000001;       // host: the library cannot be loaded
inline constexpr DWORD MAP_ERR_IMPORT = 0x20000002;            // host: a required export is missing
inline constexpr DWORD MAP_ERR_TEXTURE_LOAD = 0x20000003;      // earth texture unreadable or too large
inline constexpr DWORD MAP_ERR_TEXTURE_FORMAT = 0x20000004;    // a side below 16, or not 3/4 components
inline constexpr DWORD MAP_ERR_TEXTURE_COPY = 0x20000005;      // map.jpg <-> map0.jpg copy failed
inline constexpr DWORD MAP_ERR_REGISTER_CLASS = 0x20000006;    // RegisterClassExW failed
inline constexpr DWORD MAP_ERR_CHOOSE_PIXEL_FORMAT = 0x20000007;
inline constexpr DWORD MAP_ERR_SET_PIXEL_FORMAT = 0x20000008;
inline constexpr DWORD MAP_ERR_MAKE_CURRENT = 0x20000009;

// FreeMap tells the texture workers to stop and waits this long at most for
// them; a worker still running then makes it return FALSE, and the host keeps
// the library loaded rather than free code a thread still runs.
inline constexpr DWORD kMapFreeWaitMs = 3000;
