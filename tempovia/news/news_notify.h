// The news notifier: a narrow topmost pop-up at the right edge of the work
// area that lists the items a download job brought as balloons, and fades
// away a few seconds after the user stops using it. At most one exists.
#pragma once

#include <windows.h>

#include <string>

#include "tempovia/news/rss_model.h"
#include "tempovia/window/window.h"
#include "resources/resource_ids.h"

inline constexpr int kNotifyListId = 100;
inline constexpr int kNotifyStripId = 1089;
// The client area the pop-up never gets narrower than.
inline constexpr int kNotifyClientWidth = 392;
inline constexpr int kNotifyClientHeight = 90;
inline constexpr int kNotifyStripHeight = 90;
inline constexpr UINT_PTR kNotifyFadeTimer = 1;
inline constexpr UINT kNotifyFadeIntervalMs = 50;
// Ticks of the fade timer before fading starts: five seconds.
inline constexpr int kNotifyFadeDelayTicks = 100;
inline constexpr int kNotifyFadeStep = 4;
// Below this opacity the pop-up closes itself.
inline constexpr int kNotifyCloseAlpha = 13;
// A list box keeps a variable entry's height in a byte.
inline constexpr int kNotifyMaxEntryHeight = 255;
inline constexpr UINT kNotifyStrCaption = IDS_NEWS_CAPTION;
inline constexpr wchar_t kNotifyDefaultStripPage[] = L"http://www.tempovia.example/ad/site.htm";

class CRSSNotify : public CWindow {
public:
    CRSSNotify() = default;
    ~CRSSNotify() override;

    bool OnMessage(WindowMessage& message) override;

    // Fills the list with the new items of the channels that job (or a later
    // one) parsed; returns the number of entries added.
    int ShowItems(int job);
    // Fade delay back to its start and full opacity.
    void ResetAlpha();
    // Height to the entries, bottom at the work area's bottom.
    void FitToList();
    // One step of the fade timer.
    void FadeTick();
    void Clear();

    HWND List() const { return list_; }
    HWND Strip() const { return strip_; }
    UINT_PTR Timer() const { return timer_; }
    int FadeDelay() const { return fadeDelay_; }
    int LastJob() const { return lastJob_; }
    int EntryCount() const;
    // The item of entry index, or null.
    RSS::Item* EntryItem(int index) const;

private:
    void OnCreate();
    void OnDestroy();
    void Layout();
    void CreateStrip();
    void StartFadeTimer();
    void StopFadeTimer();
    bool StripShown() const;
    void OnListDoubleClick();
    void OnStripLinkFollowed();
    void OnStripLoadFailed();
    void RemoveItem(const RSS::Item* item);
    bool IsListed(const RSS::Item& item) const;
    void OnSettingsChanged();

    HWND list_ = nullptr;
    HWND strip_ = nullptr;
    UINT_PTR timer_ = 0;
    int fadeDelay_ = kNotifyFadeDelayTicks;
    int lastJob_ = -1;
};

// The pop-up, or NULL.
CRSSNotify* RssNotify();
// After a job's last feed: shows the job's new items, creating the pop-up
// when needed; destroys it when notifications are off.
void ShowRssNotify(int job);
// The notifier's share of a refresh of the news windows: destroyed when
// notifications are off, otherwise flag 2 lists the job's new items.
void RefreshRssNotify(int flags, int job);
// Empties the notifier's list.
void ClearRssNotify();
// Hides the pop-up without destroying it.
void HideRssNotify();

// The page of the strip at the top of the pop-up (tests point it elsewhere).
void SetRssNotifyStripPage(const wchar_t* url);
const std::wstring& RssNotifyStripPage();

// What an entry says: "<channel title>.\n<item title>", or the item's title
// alone when it has no channel.
std::wstring NotifyEntryText(const RSS::Item& item);
