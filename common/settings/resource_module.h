// The language resource library res_<lang>.dll beside the programs: which one
// is loaded, and the check that it belongs to this version of the suite.
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

// String 139 of every accepted library reads exactly this.
inline constexpr wchar_t kResourceVersion[] = L"5.0";
inline constexpr UINT kResourceVersionId = IDS_RESOURCE_VERSION;
// Texts a rejected English library shows about itself.
inline constexpr UINT kResourceRejectedTextId = IDS_RESOURCE_REJECTED;
inline constexpr UINT kResourceRejectedCaptionId = IDS_ERROR_CAPTION;

// True when the library's string 139 reads exactly "5.0".
bool IsLanguageDllValid(HMODULE module);

// Binds the visual-styles library again, then, unless one is already loaded,
// chooses the language (tempovia.ini, default.ini, the user's locale), loads
// "<folder>res_<language>.dll" or else res_en.dll, and hands it to the
// program's localisation object. True when a resource library is loaded. A
// folder of nullptr keeps the folder the settings already use.
bool LoadResourceModule(const wchar_t* folder);

// The loaded library (null when none).
HMODULE ResourceModule();
// Frees the library and clears it from the localisation object.
void FreeResourceModule();

// Shows a text and a caption, given by string id, from a library's own string
// table (used when the language layer has no library yet). Tests replace it.
using ResourceMessageFn = void (*)(HWND owner, HMODULE module, UINT textId, UINT captionId);
ResourceMessageFn SetResourceMessageFn(ResourceMessageFn fn);  // null restores the message box
