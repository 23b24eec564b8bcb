// The globe's textures for the life of the plug-in: the earth picture (tile 0
// of the earth set until it is cut) and the cloud set, their loading, fitting
// and cutting, and the two earth workers. The earth data is guarded by the
// texture mutex of the state block; the clouds belong to the window thread.
#pragma once

#include <windows.h>

#include "kartix/gl_texture.h"

struct MapState;

struct MapTextures {
    TileSet earth;
    TileSet clouds;
};

MapTextures& Textures();

inline constexpr wchar_t kEarthTextureFile[] = L"map.jpg";
inline constexpr wchar_t kCloudTextureFile[] = L"clouds.jpg";
inline constexpr int kInstallSaveQuality = 85;
inline constexpr DWORD kWorkerWaitMs = 5000;
inline constexpr DWORD kUploadWaitMs = 1000;
inline constexpr int kSmallestInstallSide = 257;

// A wait on the texture mutex that got it (an abandoned mutex is ours too).
inline bool MutexObtained(DWORD wait) { return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; }

// Under the mutex: the earth picture fitted to the card maximum (shifted by
// the scalers). The CGLTexture::Load result.
int LoadEarthTexture(MapState& s);
// Under the mutex: fitted to the current maximum and cut 4 x 2; a picture
// already cut stays as it is.
bool SplitEarthTexture(MapState& s);
// Install mode: the earth picture fitted to the card maximum; false when
// nothing changed.
bool FitTextureToMax(MapState& s);
// Window thread: clouds.jpg fitted to `maximum`, alpha from the grey, cut 4 x 2.
bool LoadCloudTexture(MapState& s, int maximum);
// The alpha of a cloud pixel: grey scaled by clouds_alpha, or the green byte.
uint32_t CloudAlphaRule(uint32_t pixel, int components, void* cloudsAlpha);

// _beginthread bodies; the argument is the window to post MSG_TEXTURE_LOADED to.
void __cdecl LoadEarthThread(void* window);
void __cdecl SplitEarthThread(void* window);
// Starts one; false when the thread could not be started.
bool StartLoadEarthThread(HWND window);
bool StartSplitEarthThread(HWND window);

// WM_CREATE in install mode: fit, save map.jpg when rescaled, cut and upload,
// halving the maximum until the upload succeeds or the maximum is 256.
void RunInstallFitLoop(MapState& s);
