// The photo strip and the overlay buttons on screen, as the map window drives them.
#include <windows.h>

#include <GL/gl.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "common/graphics/pixel_buffer.h"
#include "common/settings/photo_cache_paths.h"
#include "common/graphics/image_dib.h"
#include "common/platform/system_seam.h"
#include "kartix/gl_2d.h"
#include "kartix/map_state.h"
#include "kartix/map_window.h"
#include "kartix/photo_strip.h"

namespace {

std::wstring ServiceRootWide() {
    std::wstring root;
    for (const char* p = kPhotoServiceRoot; *p; ++p) root.push_back(static_cast<wchar_t>(*p));
    return root;
}

struct StripState {
    PhotoList list;
    CGLGroup strip;
    CGLGroup overlay;
    GLuint photoNames[kMaxLoadedPhotos] = {};
    bool namesMade = false;
    GLuint atlas = 0;
    C2DButton2* addPhoto = nullptr;
    C2DButton2* pageUp = nullptr;
    C2DButton2* pageDown = nullptr;
    int placed = 0;
};

StripState& Strip() {
    static StripState state;
    return state;
}

C2DImage* StripImage(int i) { return static_cast<C2DImage*>(Strip().strip.GetChild(i)); }

const PhotoEntry* LoadedEntry(int photo) {
    auto it = Strip().list.byNumber.find(photo);
    return it == Strip().list.byNumber.end() ? nullptr : it->second;
}

void ShowPhotoStrip(MapState& s, const wchar_t* region, const wchar_t* city, bool reload) {
    StripState& st = Strip();
    st.strip.DeleteChildren();
    // The names are copied first: the list's own names are rewritten by the load.
    std::wstring regionCopy = region ? region : L"";
    std::wstring cityCopy = city ? city : L"";
    const int count = reload ? LoadPhotoIndex(st.list, s.cities, s.cityCount, regionCopy.c_str(),
                                              cityCopy.empty() ? nullptr : cityCopy.c_str())
                             : static_cast<int>(st.list.loaded.size());
    if (count <= 0) return;
    if (!st.namesMade) {
        glGenTextures(kMaxLoadedPhotos, st.photoNames);
        st.namesMade = true;
    }
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < static_cast<int>(st.list.loaded.size()) && i < kMaxLoadedPhotos; ++i) {
        const PhotoEntry* e = st.list.loaded[static_cast<size_t>(i)];
        glBindTexture(GL_TEXTURE_2D, st.photoNames[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, e->texture.storedWidth, e->texture.storedHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, e->texture.pixels);
        auto* image = new C2DImage;
        image->photoNumber = e->photo;
        image->width = static_cast<float>(e->texture.imageWidth);
        image->height = static_cast<float>(e->texture.imageHeight);
        image->x = static_cast<float>((kStripWidth - e->texture.imageWidth) / 2);
        image->SetTexture(st.photoNames[i], e->texture.storedWidth, e->texture.storedHeight);
        st.strip.AddChild(image);
    }
    st.strip.Init();
    glDisable(GL_TEXTURE_2D);
}

void ScrollPhotos(MapState& s, int target) {
    PhotoList& list = Strip().list;
    const int last = static_cast<int>(list.all.size()) - 1;
    target = std::clamp(target, 0, std::max(0, last));
    if (target == list.scroll) return;
    list.scroll = target;
    LoadVisiblePhotos(list);
    std::wstring region = list.region, city = list.city;
    ShowPhotoStrip(s, region.c_str(), city.c_str(), false);
}

void ShellOpen(MapState& s, const wchar_t* address) {
    System().ShellExecuteOpen(s.window, L"open", address, nullptr, L".\\", SW_SHOWNORMAL);
}

}  // namespace

void BuildOverlay(MapState& s) {
    StripState& st = Strip();
    st.overlay.DeleteChildren();
    st.addPhoto = st.pageUp = st.pageDown = nullptr;
    const std::wstring path = std::wstring(s.programFolder) + kButtonAtlasFile;
    PixelBuffer image;
    if (!LoadImageDib(image, path.c_str())) return;
    if (image.GetBitCount() != 32 || image.GetWidth() != kAtlasWidth || image.GetHeight() != kAtlasHeight)
        return;
    // GL wants the bytes red first; the picture has them blue first.
    std::vector<uint32_t> rgba(static_cast<size_t>(kAtlasWidth) * kAtlasHeight);
    for (int row = 0; row < kAtlasHeight; ++row) {
        const uint32_t* src = image.Pixels() + static_cast<size_t>(row) * static_cast<size_t>(image.Stride());
        for (int col = 0; col < kAtlasWidth; ++col) {
            const uint32_t p = src[col];
            rgba[static_cast<size_t>(row) * kAtlasWidth + col] =
                (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
        }
    }
    image.Free();
    if (!st.atlas) glGenTextures(1, &st.atlas);
    glBindTexture(GL_TEXTURE_2D, st.atlas);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, kAtlasWidth, kAtlasHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (const OverlayButton& entry : kOverlayButtonTable) {
        auto* b = new C2DButton2;
        b->SetState(st.atlas, entry.atlasX, entry.atlasY, kAtlasWidth, kAtlasHeight);
        b->key = entry.key;
        b->x = static_cast<float>(entry.x);
        b->y = static_cast<float>(entry.y);
        b->width = static_cast<float>(entry.width);
        b->height = static_cast<float>(entry.height);
        if (entry.key == VK_INSERT) st.addPhoto = b;
        if (entry.key == VK_PRIOR) st.pageUp = b;
        if (entry.key == VK_NEXT) st.pageDown = b;
        st.overlay.AddChild(b);
    }
    st.overlay.Init();
}

void DeletePhotoStrip() {
    StripState& st = Strip();
    st.strip.DeleteChildren();
    st.overlay.DeleteChildren();
    st.addPhoto = st.pageUp = st.pageDown = nullptr;
    if (st.namesMade) glDeleteTextures(kMaxLoadedPhotos, st.photoNames);
    st.namesMade = false;
    if (st.atlas) glDeleteTextures(1, &st.atlas);
    st.atlas = 0;
    FreePhotoList(st.list);
    st.list.scroll = 0;
    st.list.city[0] = st.list.region[0] = L'\0';
    st.placed = 0;
}

int UpdateOverlayHover(MapState& s, int x, int y, bool clear) {
    StripState& st = Strip();
    const float gx = static_cast<float>(x - (s.clientWidth - kStripWidth));
    int key = 0;
    for (int i = 0; i < st.overlay.GetChildCount(); ++i) {
        auto* b = static_cast<C2DButton2*>(st.overlay.GetChild(i));
        const bool hit = HitTest2D(*b, gx, static_cast<float>(y));
        b->hover = hit && !clear;
        // The release asks with clear set and still needs the key it ends on.
        if (hit) key = b->key;
    }
    return key;
}

bool PhotoStripEmpty() { return Strip().strip.GetChildCount() == 0; }
int PhotoStripLeft(const MapState& s) { return s.clientWidth - kStripWidth; }
bool AllPhotosOnScreen() {
    const StripState& st = Strip();
    return st.list.scroll == 0 && st.placed >= static_cast<int>(st.list.all.size());
}

void ScrollPhotoStrip(MapState& s, int key) {
    StripState& st = Strip();
    if (st.list.all.empty()) return;
    if (key == VK_NEXT) ScrollPhotos(s, PageDownTarget(st.list, st.placed));
    if (key == VK_PRIOR) ScrollPhotos(s, PageUpTarget(st.list, s.clientHeight, s.font.Height()));
}

void OpenAddPhotoPage(MapState& s) {
    const std::wstring address = ServiceRootWide() + kAddPhotoPath;
    ShellOpen(s, address.c_str());
}

int PhotoStripItemAt(MapState& s, int x, int y) {
    StripState& st = Strip();
    const float sx = static_cast<float>(x - PhotoStripLeft(s)), sy = static_cast<float>(y - kStripGroupY);
    for (int i = 0; i < st.strip.GetChildCount(); ++i)
        if (HitTest2D(*StripImage(i), sx, sy)) return StripImage(i)->photoNumber;
    return -1;
}

void OpenPhotoPage(MapState& s, int photo) {
    if (const PhotoEntry* e = LoadedEntry(photo)) ShellOpen(s, e->page);
}

void ShowCityPhotos(MapState& s, int signedCity) {
    const long long index = signedCity < 0 ? -static_cast<long long>(signedCity) : signedCity;
    if (!s.cities || index >= s.cityCount) return;
    const CityRecord& c = s.cities[index];
    ShowPhotoStrip(s, c.region, signedCity >= 0 ? c.city : nullptr, true);
}

void ShowCityRecordPhotos(MapState& s, int city, const CityRecord* record) {
    if (record && AskHostForPhotos(s, city)) ShowPhotoStrip(s, record->region, record->city, true);
}

void OnPhotoReady(MapState& s, int signedCity, int photo) {
    const long long index = signedCity < 0 ? -static_cast<long long>(signedCity) : signedCity;
    if (!s.cities || index >= s.cityCount || photo < 1) return;
    const CityRecord& c = s.cities[index];
    const PhotoList& list = Strip().list;
    const bool samePlace = signedCity >= 0 ? wcscmp(list.city, c.city) == 0 : list.city[0] == L'\0';
    if (!samePlace || _wcsicmp(list.region, c.region) != 0) return;
    if (!AskHostForPhotos(s, signedCity)) return;
    std::wstring region = list.region, city = list.city;
    ShowPhotoStrip(s, region.c_str(), city.empty() ? nullptr : city.c_str(), true);
}

void DrawPhotoStrip(MapState& s) {
    StripState& st = Strip();
    st.placed = 0;
    if (!st.list.region[0]) return;
    const int h = s.font.Height();
    const int left = s.clientWidth - kStripWidth;
    const bool images = st.strip.GetChildCount() > 0;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4d(0.0, 0.0, 0.0, 0.33);
    const int top = s.clientHeight - 2 * h - 59;
    if (images)
        glRecti(left, 0, s.clientWidth, s.clientHeight);
    else
        glRecti(left, top, s.clientWidth, top + 2 * h + 59);
    glColor3d(1.0, 1.0, 1.0);
    auto centred = [&](const wchar_t* text, int y) {
        const int w = s.font.TextWidthW(text, -1);
        const int x = std::max(left + (kStripWidth - w) / 2, left + 4);
        s.font.DrawTextW(static_cast<float>(x), static_cast<float>(y), 0.0f, text, -1);
    };
    if (st.list.city[0]) {
        centred(st.list.city, s.clientHeight - h);
        centred(st.list.region, s.clientHeight - 2 * h);
    } else {
        centred(st.list.region, s.clientHeight - h);
    }
    int u = s.clientHeight - 2 * h - 59 - kStripGroupY;
    for (int i = 0; i < st.strip.GetChildCount(); ++i) {
        C2DImage* image = StripImage(i);
        const int height = static_cast<int>(image->height);
        if (u - height >= 0) {
            image->y = static_cast<float>(u - height);
            ++st.placed;
        } else {
            image->y = static_cast<float>(s.clientHeight);
        }
        u -= height + 4;
    }
    if (s.mouseInside && s.cursorX > left) {
        const float sx = static_cast<float>(s.cursorX - left), sy = static_cast<float>(s.cursorY - kStripGroupY);
        for (int i = 0; i < st.strip.GetChildCount(); ++i) {
            C2DImage* image = StripImage(i);
            if (image->y >= s.clientHeight || !HitTest2D(*image, sx, sy)) continue;
            const PhotoEntry* e = LoadedEntry(image->photoNumber);
            if (!e) break;
            int y = s.cursorY + h / 2;
            auto rightAligned = [&](const wchar_t* text) {
                const int w = s.font.TextWidthW(text, -1);
                s.font.DrawTextW(static_cast<float>(left - w - 4), static_cast<float>(y), 0.0f, text, -1);
                y -= h;
            };
            if (!st.list.city[0] && e->city >= 0 && e->city < s.cityCount) {
                const std::wstring place = std::wstring(s.cities[e->city].city) + L", " + st.list.region;
                rightAligned(place.c_str());
            }
            rightAligned(e->caption);
            rightAligned(L"Click to enlarge");
            break;
        }
    }
    glDisable(GL_BLEND);
    st.strip.x = static_cast<float>(left);
    st.strip.y = static_cast<float>(kStripGroupY);
    glColor3d(1.0, 1.0, 1.0);
    st.strip.Draw();
}

void DrawOverlay(MapState& s) {
    StripState& st = Strip();
    if (st.overlay.GetChildCount() == 0) return;
    const int h = s.font.Height();
    st.overlay.x = static_cast<float>(s.clientWidth - kStripWidth);
    st.overlay.y = 0.0f;
    const int entries = static_cast<int>(st.list.all.size());
    const float navY = static_cast<float>(s.clientHeight - 2 * h - 55);
    if (st.pageDown) st.pageDown->y = st.list.scroll + st.placed < entries ? navY : kHiddenButtonY;
    if (st.pageUp) st.pageUp->y = entries > 0 && st.list.scroll > 0 ? navY : kHiddenButtonY;
    if (st.addPhoto)
        st.addPhoto->y = s.hostAcceptsPhotos ? static_cast<float>(s.clientHeight - 2 * h - 32) : kHiddenButtonY;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glColor3d(1.0, 1.0, 1.0);
    st.overlay.Draw();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    // The caption follows the pointer; the button's own hover flag marks a
    // press and lights its hovered half only while the button is held.
    const bool pointerOnAdd =
        st.addPhoto && s.mouseInside &&
        HitTest2D(*st.addPhoto, static_cast<float>(s.cursorX) - st.overlay.x, static_cast<float>(s.cursorY));
    if (pointerOnAdd) {
        const std::wstring tip = GetLocalString(2, L"");
        if (!tip.empty()) {
            const int w = s.font.TextWidthW(tip.c_str(), -1);
            const float y = st.overlay.y + st.addPhoto->y + 4 + (24 - h) / 2.0f;
            s.font.DrawTextW(st.overlay.x - w - 1, y, 0.0f, tip.c_str(), -1);
        }
    }
}

PhotoList& Photos() { return Strip().list; }
int PhotosPlacedLastFrame() { return Strip().placed; }
