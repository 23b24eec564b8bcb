// The photo strip at the right edge of the map (the photos of a city or of a
// whole country from the shared photo cache) and the navigation pad and photo
// buttons above it, cut from one atlas.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/records/city_record.h"
#include "kartix/jpeg_texture.h"

inline constexpr int kStripWidth = 108;
inline constexpr int kStripGroupY = 108;
inline constexpr int kMaxLoadedPhotos = 16;
inline constexpr int kPhotoMaxWidth = 128;
inline constexpr int kPhotoMaxHeight = 256;
inline constexpr int kPhotoPageChars = 511;
inline constexpr int kPhotoCaptionChars = 99;
inline constexpr int kPhotoPlaceChars = 79;
inline constexpr int kHiddenButtonY = -32;

inline constexpr int kAtlasWidth = 128;
inline constexpr int kAtlasHeight = 256;
inline constexpr wchar_t kButtonAtlasFile[] = L"buttons.png";
inline constexpr wchar_t kAddPhotoPath[] = L"/cms/add_photo.htm";

struct PhotoEntry {
    int city = 0;
    int photo = 0;
    wchar_t page[kPhotoPageChars + 1] = {};
    wchar_t caption[kPhotoCaptionChars + 1] = {};
    CJpegTexture texture;
    std::wstring file;  // "<city folder>\\<number>.jpg"
};

struct PhotoList {
    std::vector<std::unique_ptr<PhotoEntry>> all;
    std::vector<PhotoEntry*> loaded;
    std::map<int, PhotoEntry*> byNumber;
    int scroll = 0;
    wchar_t city[kPhotoPlaceChars + 1] = {};
    wchar_t region[kPhotoPlaceChars + 1] = {};
};

// One navigation or photo button: its key, place in the overlay group, size
// and atlas rectangle (lower left corner, hovered half).
struct OverlayButton {
    int key;
    int x, y;
    int width, height;
    int atlasX, atlasY;
};
inline constexpr int kOverlayButtons = 10;
extern const OverlayButton kOverlayButtonTable[kOverlayButtons];

// Smaller stored distance of the entry's city first; then larger photo number.
bool ComparePhotoEntries(const CityRecord* cities, const PhotoEntry& a, const PhotoEntry& b);

// Reads the index of a city (city non-null) or of the region into the list;
// the count loaded, 0 without an index, -1 when the folder cannot be formed.
int LoadPhotoIndex(PhotoList& list, const CityRecord* cities, int cityCount, const wchar_t* region,
                   const wchar_t* city);
// The photos from the scroll position on, at most 16; the number loaded.
int LoadVisiblePhotos(PhotoList& list);
void FreePhotoList(PhotoList& list);

// The scroll target of VK_NEXT / VK_PRIOR from the current position.
int PageDownTarget(const PhotoList& list, int placedLastFrame);
int PageUpTarget(const PhotoList& list, int windowHeight, int fontHeight);

struct MapState;
PhotoList& Photos();
// The number of strip photos placed on screen in the last frame.
int PhotosPlacedLastFrame();

// ---- the strip and the overlay on screen (photo_strip_view.cpp) ----------
// At window creation: the buttons of kOverlayButtonTable from buttons.png.
void BuildOverlay(MapState& s);
// With the window's context current: the strip, the buttons and their
// textures, and the photo list.
void DeletePhotoStrip();
// Sets each button's hover flag (all cleared with clear); the key of the
// button under the point or 0, whatever clear says.
int UpdateOverlayHover(MapState& s, int x, int y, bool clear);
bool PhotoStripEmpty();
// Left edge of the strip column in window pixels.
int PhotoStripLeft(const MapState& s);
bool AllPhotosOnScreen();
// VK_NEXT or VK_PRIOR.
void ScrollPhotoStrip(MapState& s, int key);
void OpenAddPhotoPage(MapState& s);
// Photo number of a loaded photo under the point, or -1.
int PhotoStripItemAt(MapState& s, int x, int y);
void OpenPhotoPage(MapState& s, int photo);
// The strip of a city (index >= 0) or of its country (negative index).
void ShowCityPhotos(MapState& s, int signedCity);
// MSG_MAP_SHOW_PHOTO.
void ShowCityRecordPhotos(MapState& s, int city, const CityRecord* record);
// MSG_PHOTO_READY.
void OnPhotoReady(MapState& s, int signedCity, int photo);
// The layers of a frame: the strip, then the buttons above it.
void DrawPhotoStrip(MapState& s);
void DrawOverlay(MapState& s);
