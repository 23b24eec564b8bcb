// The general options every program keeps in memory. The layout is a binary
// contract: the block is shipped whole to the taskbar clock by WM_COPYDATA.
// Fields that one INI key fills carry that key's name.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/records/background_profile.h"

// GlobalSettings::runFlags bit set while the main program exits.
inline constexpr uint32_t kRunFlagExiting = 0x4;

inline constexpr int kMaxNewsChannels = 128;

struct GlobalSettings {
    SYSTEMTIME buildDate;
    WCHAR programFolder[260];     // with a trailing backslash
    uint8_t reserved0[12];
    WCHAR skin[80];               // skin of every taskbar clock
    int32_t skinIsFolder;         // 0 for the two built-in styles
    int32_t classicStyle;         // skin is "Classic Tempovia Style"
    int32_t transparentskin;
    int32_t overlayprefixes;
    int32_t trayclocks;           // 1..12
    int32_t enabledClocks;
    int32_t clockCount;           // at most 30
    int32_t tooltipkind;
    int32_t tooltips;
    int32_t vistrel;              // city photos
    int32_t synctype;
    WCHAR timeServer[128];        // server<N> of [common], N = key `server`
    int32_t autosync;             // 0xFFFF when absent
    uint8_t reserved1[12];
    int32_t inet_scripts;
    uint32_t runFlags;            // kRunFlagExiting
    BackgroundProfile localzonehighlight;
    WCHAR language[16];           // two lower-case letters
    int32_t initialized;          // [map]
    int32_t iso_weeks;
    int32_t setlocalinmenu;
    int32_t newsChannels;         // channels the consumer accepted
    int32_t ads;
    int32_t notifications;
    int32_t fade_news;
    int32_t clouds;               // not set by the loader
};

static_assert(sizeof(GlobalSettings) == 1328);
static_assert(offsetof(GlobalSettings, buildDate) == 0);
static_assert(offsetof(GlobalSettings, programFolder) == 16);
static_assert(offsetof(GlobalSettings, reserved0) == 536);
static_assert(offsetof(GlobalSettings, skin) == 548);
static_assert(offsetof(GlobalSettings, skinIsFolder) == 708);
static_assert(offsetof(GlobalSettings, classicStyle) == 712);
static_assert(offsetof(GlobalSettings, transparentskin) == 716);
static_assert(offsetof(GlobalSettings, overlayprefixes) == 720);
static_assert(offsetof(GlobalSettings, trayclocks) == 724);
static_assert(offsetof(GlobalSettings, enabledClocks) == 728);
static_assert(offsetof(GlobalSettings, clockCount) == 732);
static_assert(offsetof(GlobalSettings, tooltipkind) == 736);
static_assert(offsetof(GlobalSettings, tooltips) == 740);
static_assert(offsetof(GlobalSettings, vistrel) == 744);
static_assert(offsetof(GlobalSettings, synctype) == 748);
static_assert(offsetof(GlobalSettings, timeServer) == 752);
static_assert(offsetof(GlobalSettings, autosync) == 1008);
static_assert(offsetof(GlobalSettings, reserved1) == 1012);
static_assert(offsetof(GlobalSettings, inet_scripts) == 1024);
static_assert(offsetof(GlobalSettings, runFlags) == 1028);
static_assert(offsetof(GlobalSettings, localzonehighlight) == 1032);
static_assert(offsetof(GlobalSettings, language) == 1264);
static_assert(offsetof(GlobalSettings, initialized) == 1296);
static_assert(offsetof(GlobalSettings, iso_weeks) == 1300);
static_assert(offsetof(GlobalSettings, setlocalinmenu) == 1304);
static_assert(offsetof(GlobalSettings, newsChannels) == 1308);
static_assert(offsetof(GlobalSettings, ads) == 1312);
static_assert(offsetof(GlobalSettings, notifications) == 1316);
static_assert(offsetof(GlobalSettings, fade_news) == 1320);
static_assert(offsetof(GlobalSettings, clouds) == 1324);
