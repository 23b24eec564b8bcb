// The map's keys of tempovia.ini, the policy mask and the performance factor.
#include <gtest/gtest.h>

#include <string>

#include "common/settings/ini_store.h"
#include "kartix/map_settings.h"
#include "kartix/perf_factor.h"
#include "kartix/policy_flags.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// A private policy key under HKCU, removed afterwards.
class PolicyKey {
public:
    PolicyKey() : name_(L"Software\\TempoviaTests\\KartixPolicy" + std::to_wstring(GetCurrentProcessId())) {
        RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        SetPolicyKeyOverride(HKEY_CURRENT_USER, name_.c_str());
    }
    ~PolicyKey() {
        SetPolicyKeyOverride(nullptr, nullptr);
        if (key_) RegCloseKey(key_);
        RegDeleteKeyW(HKEY_CURRENT_USER, name_.c_str());
    }
    void SetDword(const wchar_t* value, DWORD data) {
        RegSetValueExW(key_, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    }
    void SetBytes(const wchar_t* value, const void* data, DWORD size) {
        RegSetValueExW(key_, value, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    }
    const std::wstring& name() const { return name_; }

private:
    std::wstring name_;
    HKEY key_ = nullptr;
};

}  // namespace

TEST(MapPolicy, EachNonzeroFourByteValueSetsItsBit) {
    PolicyKey policy;
    EXPECT_EQ(ReadPolicyFlags(), 0u);
    policy.SetDword(L"no_updates", 1);
    policy.SetDword(L"no_news", 0);           // zero: bit stays clear
    policy.SetDword(L"no_cloud_map", 7);
    policy.SetDword(L"no_preferences", 0xFFFFFFFF);
    const unsigned long long wide = 1;
    policy.SetBytes(L"no_city_photos", &wide, sizeof(wide));  // 8 bytes: ignored
    EXPECT_EQ(ReadPolicyFlags(), static_cast<DWORD>(kPolicyNoUpdates | kPolicyNoCloudMap | kPolicyNoPreferences));
    const WORD shortValue = 1;
    policy.SetBytes(L"no_updates", &shortValue, sizeof(shortValue));  // 2 bytes: ignored
    EXPECT_EQ(ReadPolicyFlags(), static_cast<DWORD>(kPolicyNoCloudMap | kPolicyNoPreferences));
}

TEST(MapPolicy, MissingKeyGivesNoFlags) {
    SetPolicyKeyOverride(HKEY_CURRENT_USER, L"Software\\TempoviaTests\\NoSuchKartixKey");
    EXPECT_EQ(ReadPolicyFlags(), 0u);
    SetPolicyKeyOverride(nullptr, nullptr);
}

TEST(MapSettingsRead, DefaultsWithoutKeysAndNothingWithoutAPath) {
    PolicyKey policy;
    TempDir dir;
    const std::wstring ini = dir.file(L"tempovia.ini");
    MapSettings s;
    PerfState perf;
    perf.cardMaxTexture = 4096;
    perf.currentMaxTexture = 1024;

    ReadMapSettings(nullptr, s, perf);
    ReadMapSettings(L"", s, perf);
    EXPECT_EQ(perf.currentMaxTexture, 1024);  // not read: nothing changed

    ReadMapSettings(ini.c_str(), s, perf);
    EXPECT_EQ(s.texScalerX, 0);
    EXPECT_EQ(s.texScalerY, -1);
    EXPECT_FALSE(s.texCompression);
    EXPECT_EQ(s.lagFactor, 1);
    EXPECT_EQ(s.cloudmapInterval, -3);
    EXPECT_EQ(s.cloudsAlpha, 192);
    EXPECT_FALSE(s.cloudsOn);
    EXPECT_EQ(perf.factor, 100);
    EXPECT_EQ(perf.slices, 180);
    EXPECT_EQ(perf.stacks, 120);
    EXPECT_EQ(perf.layers, 10);
    EXPECT_EQ(perf.currentMaxTexture, 4096);
}

TEST(MapSettingsRead, ValuesAreClampedAndCloudsFollowIntervalAndPolicy) {
    PolicyKey policy;
    TempDir dir;
    const std::wstring ini = dir.file(L"tempovia.ini");
    ASSERT_TRUE(WriteBytes(ini,
                           "[map]\r\ntexScalerX=5\r\ntexScalerY=-9\r\ntex_compression=2\r\nlag_factor=9\r\n"
                           "[common]\r\ncloudmap_interval=30\r\nclouds_alpha=7\r\n"));
    MapSettings s;
    PerfState perf;
    perf.cardMaxTexture = 2048;
    ReadMapSettings(ini.c_str(), s, perf);
    EXPECT_EQ(s.texScalerX, 2);
    EXPECT_EQ(s.texScalerY, -3);
    EXPECT_TRUE(s.texCompression);
    EXPECT_EQ(s.lagFactor, 8);
    EXPECT_EQ(s.cloudsAlpha, 32);
    EXPECT_TRUE(s.cloudsOn);
    // lag_factor 9 acts as 8: the coarsest globe, the texture side untouched.
    EXPECT_EQ(perf.factor, 800);
    EXPECT_EQ(perf.slices, 36);
    EXPECT_EQ(perf.stacks, 30);
    EXPECT_EQ(perf.layers, 1);
    EXPECT_EQ(perf.currentMaxTexture, 2048);

    policy.SetDword(L"no_cloud_map", 1);
    ReadMapSettings(ini.c_str(), s, perf);
    EXPECT_FALSE(s.cloudsOn);
    EXPECT_EQ(s.policy, static_cast<DWORD>(kPolicyNoCloudMap));

    ASSERT_TRUE(WriteIniInt(ini.c_str(), L"common", L"cloudmap_interval", 0));
    policy.SetDword(L"no_cloud_map", 0);
    ReadMapSettings(ini.c_str(), s, perf);
    EXPECT_FALSE(s.cloudsOn);  // interval 0 switches them off without the policy
}

TEST(MapSettingsRead, ASecondReadStartsFromTheFirstOnesValues) {
    PolicyKey policy;
    TempDir first, second;
    ASSERT_TRUE(WriteBytes(first.file(L"tempovia.ini"), "[map]\r\nlag_factor=0\r\ntexScalerY=1\r\n"));
    ASSERT_TRUE(WriteBytes(second.file(L"tempovia.ini"), "[map]\r\nlag_factor=junk\r\n"));
    MapSettings s;
    PerfState perf;
    ReadMapSettings(first.file(L"tempovia.ini").c_str(), s, perf);
    // lag_factor 0 gives the factor 50: 180 slices, 120 stacks, 20 shells.
    EXPECT_EQ(perf.factor, 50);
    EXPECT_EQ(perf.slices, 180);
    EXPECT_EQ(perf.stacks, 120);
    EXPECT_EQ(perf.layers, 20);
    ReadMapSettings(second.file(L"tempovia.ini").c_str(), s, perf);
    EXPECT_EQ(s.texScalerY, 1);  // missing key: the value in effect stays
    EXPECT_EQ(s.lagFactor, 0);   // unreadable number reads as 0
}

TEST(MapSettingsRead, TextureSideShifts) {
    EXPECT_EQ(ShiftTextureSide(2048, 0), 2048);
    EXPECT_EQ(ShiftTextureSide(2048, -1), 1024);
    EXPECT_EQ(ShiftTextureSide(2048, -3), 256);
    EXPECT_EQ(ShiftTextureSide(2048, 2), 8192);
}

TEST(PerfFactor, TableOverTheWholeRange) {
    struct Row {
        int factor, slices, stacks, layers;
    };
    const Row rows[] = {{10, 180, 120, 20}, {50, 180, 120, 20}, {100, 180, 120, 10}, {150, 180, 120, 6},
                        {200, 180, 90, 5},  {300, 120, 90, 1},  {400, 120, 60, 1},  {500, 60, 60, 1},
                        {600, 60, 30, 1},   {700, 36, 30, 1},   {800, 36, 30, 1},   {5000, 36, 30, 1}};
    for (const Row& r : rows) {
        PerfState perf;
        perf.cardMaxTexture = 512;
        SetPerfFactor(perf, r.factor);
        EXPECT_EQ(perf.slices, r.slices) << r.factor;
        EXPECT_EQ(perf.stacks, r.stacks) << r.factor;
        EXPECT_EQ(perf.layers, r.layers) << r.factor;
        EXPECT_EQ(perf.currentMaxTexture, 512);
    }
    EXPECT_EQ(ChangedPerfFactor(100, false), 50);
    EXPECT_EQ(ChangedPerfFactor(50, false), 50);
    EXPECT_EQ(ChangedPerfFactor(400, true), 800);
    EXPECT_EQ(ChangedPerfFactor(800, true), 800);
}

TEST(PerfFactor, SlowFramesAfterALoadDoubleTheFactorOnce) {
    PerfState perf;
    SetPerfFactor(perf, 100);
    StartPerfTest(perf);
    EXPECT_EQ(perf.framesTested, kPerfTestStart);
    EXPECT_EQ(AdaptPerfFactor(perf, 125, false), PerfVerdict::kMoreFrames);  // first frame skipped
    EXPECT_EQ(perf.fpsSum, 0);
    EXPECT_EQ(AdaptPerfFactor(perf, 125, false), PerfVerdict::kMoreFrames);
    EXPECT_EQ(AdaptPerfFactor(perf, 0, false), PerfVerdict::kMoreFrames);  // 0 ms is not counted
    EXPECT_EQ(AdaptPerfFactor(perf, 125, false), PerfVerdict::kMoreFrames);
    EXPECT_EQ(AdaptPerfFactor(perf, 125, false), PerfVerdict::kReload);  // 8 fps on average
    EXPECT_EQ(perf.factor, 200);
    EXPECT_EQ(perf.fpsSum, 10);
    EXPECT_EQ(perf.framesTested, kPerfTestIdle);
    EXPECT_EQ(AdaptPerfFactor(perf, 125, false), PerfVerdict::kEnough);  // idle until the next upload
}

TEST(PerfFactor, FastFramesOrTheLargestFactorEndTheTest) {
    PerfState perf;
    SetPerfFactor(perf, 100);
    StartPerfTest(perf);
    AdaptPerfFactor(perf, 10, false);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(AdaptPerfFactor(perf, 100, false), PerfVerdict::kMoreFrames);
    EXPECT_EQ(AdaptPerfFactor(perf, 100, false), PerfVerdict::kEnough);  // exactly 10 fps
    EXPECT_EQ(perf.factor, 100);

    SetPerfFactor(perf, 800);
    StartPerfTest(perf);
    EXPECT_EQ(perf.framesTested, kPerfTestIdle);  // no test at the largest factor
    perf.framesTested = 0;
    perf.fpsSum = 0;
    for (int i = 0; i < 2; ++i) AdaptPerfFactor(perf, 500, false);
    EXPECT_EQ(AdaptPerfFactor(perf, 500, false), PerfVerdict::kEnough);
    EXPECT_EQ(perf.factor, 800);
}

TEST(PerfFactor, ATextureLoadStopsTheTest) {
    PerfState perf;
    StartPerfTest(perf);
    EXPECT_EQ(AdaptPerfFactor(perf, 125, true), PerfVerdict::kEnough);
    EXPECT_EQ(perf.framesTested, kPerfTestIdle);
}
