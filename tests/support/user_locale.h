// The prefix user's time-of-day locale, and this test program run again in a
// process of its own: a fresh program has read no locale state yet.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// Makes the user's default locale write times on the 12-hour dial for the
// life of the object (a locale that already does is left alone) and puts
// the previous time picture back afterwards.
class TwelveHourLocale {
public:
    TwelveHourLocale();
    ~TwelveHourLocale();
    TwelveHourLocale(const TwelveHourLocale&) = delete;
    TwelveHourLocale& operator=(const TwelveHourLocale&) = delete;

    bool ok() const { return ok_; }
    // The locale's separator and PM symbol as the programs read them.
    std::wstring separator() const;
    std::wstring pm() const;

private:
    bool ok_ = false;
    std::wstring restore_;  // the time picture to put back, empty when unchanged
};

// Makes the user's default locale write times with this picture for the life
// of the object, and puts the previous picture back afterwards.
class LocaleTimePicture {
public:
    explicit LocaleTimePicture(const wchar_t* picture);
    ~LocaleTimePicture();
    LocaleTimePicture(const LocaleTimePicture&) = delete;
    LocaleTimePicture& operator=(const LocaleTimePicture&) = delete;

private:
    std::wstring restore_;
};

// True inside the process that RunInFreshProcess started.
bool InFreshProcess();
// Runs this test program again for the tests the gtest filter names and
// returns its exit code (-1 when it could not run or did not end in time).
int RunInFreshProcess(const char* filter);

}  // namespace testing_support
