// The city-photo cache as its readers see it: the main program downloads
// into it, every program and user shares it. Each city has a folder
// "<root>\<region>\<city>\" holding index.tsv and "<number>.jpg" files; the
// root is the all-users application data folder followed by
// "\Dravik\Vistrel". These readers run on the thread that owns the city table
// (g_cities) and keep no locks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// The root, the index name, MakeFileName and the index-line reader are shared
// with the main program, which writes the cache.
#include "common/settings/photo_cache_paths.h"

inline constexpr int kPhotoCaptionChars = 100;  // at most 99 characters kept
inline constexpr int kMaxIndexedPhotos = 1024;

// ReadPhotoIndex results besides a photo number.
inline constexpr int kNoPhotoIndex = 0;   // the folder has no index.tsv
inline constexpr int kNoUsablePhoto = -1; // unreadable, or no listed photo is on disk

// The first city of the received table whose name equals `city` and, when a
// region is given, whose region equals it (both ignoring case); -1 none.
int FindCityInCountry(const wchar_t* region, const wchar_t* city);

// "<root>\<region>\" and, with a city, "<city>\" (names made safe); false
// without a region or buffer, for a name that cannot be a folder, without a
// root, or when the path does not fit. Nothing is created.
bool GetCityPhotoDir(const wchar_t* region, const wchar_t* city, wchar_t* buffer, size_t chars);
// The city folder followed by "<n>.jpg".
bool GetCityPhotoFile(const wchar_t* region, const wchar_t* city, int n, wchar_t* buffer, size_t chars);
// The same for city `cityIndex` of the received table; false for an index
// outside it.
bool GetCityPhotoPath(int cityIndex, int n, wchar_t* buffer, size_t chars);

// One usable line of an index.tsv: its photo is on disk.
struct PhotoIndexEntry {
    int number;
    std::wstring caption;
};

// Reads the usable lines of the index of a city folder (city given) or of a
// country folder (city null or empty: each line names its city in field 1,
// which must be in the table). At most kMaxIndexedPhotos entries. Returns
// kNoPhotoIndex, kNoUsablePhoto (cannot open, or nothing usable) or 1.
int ReadPhotoEntries(const wchar_t* region, const wchar_t* city, std::vector<PhotoIndexEntry>& entries);

// Which of `count` entries a rand() value picks: rand / 32767 of the count,
// never past the last.
int PickPhotoEntry(int count, int randomValue);

// A photo of the city picked at random among the usable lines of its index,
// with its caption (kPhotoCaptionChars, may be null); kNoPhotoIndex or
// kNoUsablePhoto otherwise (the caption is then emptied).
int ReadPhotoIndex(const wchar_t* region, const wchar_t* city, wchar_t* caption);
