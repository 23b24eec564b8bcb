// The earth texture check and the installation run, on JPEG files written
// here with the JPEG library.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/platform/text_bounds.h"
#include "kartix/jpeg_header.h"
#include "kartix/map_exports.h"
#include "kartix/map_state.h"
#include "kartix/policy_flags.h"
#include "tests/kartix/gl_test_surface.h"
#include "tests/support/test_support.h"

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

bool WriteJpeg(const std::wstring& path, int width, int height, int components) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * components, 128);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    fclose(file);
    return true;
}

}  // namespace

TEST(EarthTextureCheck, HeaderGivesSidesAndComponentsWithoutDecoding) {
    TempDir dir;
    const std::wstring rgb = dir.file(L"rgb.jpg");
    ASSERT_TRUE(WriteJpeg(rgb, 40, 20, 3));
    int w = 0, h = 0, c = 0;
    ASSERT_TRUE(ReadJpegHeader(rgb.c_str(), w, h, c));
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 20);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(CheckEarthTexture(rgb.c_str(), 1ull << 30), 0u);
    // 40 x 20 x 3 = 2400 bytes: above a third of 7199, not above a third of 7200.
    EXPECT_EQ(CheckEarthTexture(rgb.c_str(), 7199), MAP_ERR_TEXTURE_LOAD);
    EXPECT_EQ(CheckEarthTexture(rgb.c_str(), 7200), 0u);
}

TEST(EarthTextureCheck, SmallSidesAndGreyImagesAreFormatErrors) {
    TempDir dir;
    ASSERT_TRUE(WriteJpeg(dir.file(L"narrow.jpg"), 15, 64, 3));
    ASSERT_TRUE(WriteJpeg(dir.file(L"low.jpg"), 64, 15, 3));
    ASSERT_TRUE(WriteJpeg(dir.file(L"grey.jpg"), 64, 32, 1));
    ASSERT_TRUE(WriteJpeg(dir.file(L"least.jpg"), 16, 16, 3));
    EXPECT_EQ(CheckEarthTexture(dir.file(L"narrow.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_FORMAT);
    EXPECT_EQ(CheckEarthTexture(dir.file(L"low.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_FORMAT);
    EXPECT_EQ(CheckEarthTexture(dir.file(L"grey.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_FORMAT);
    EXPECT_EQ(CheckEarthTexture(dir.file(L"least.jpg").c_str(), 1ull << 30), 0u);
}

TEST(EarthTextureCheck, MissingTruncatedOrForeignFilesAreLoadErrors) {
    TempDir dir;
    EXPECT_EQ(CheckEarthTexture(dir.file(L"none.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_LOAD);
    ASSERT_TRUE(WriteBytes(dir.file(L"text.jpg"), "not a picture at all"));
    EXPECT_EQ(CheckEarthTexture(dir.file(L"text.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_LOAD);
    ASSERT_TRUE(WriteBytes(dir.file(L"empty.jpg"), ""));
    EXPECT_EQ(CheckEarthTexture(dir.file(L"empty.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_LOAD);
    ASSERT_TRUE(WriteJpeg(dir.file(L"whole.jpg"), 64, 32, 3));
    const std::string whole = ReadBytes(dir.file(L"whole.jpg"));
    ASSERT_TRUE(WriteBytes(dir.file(L"cut.jpg"), whole.substr(0, 12)));
    EXPECT_EQ(CheckEarthTexture(dir.file(L"cut.jpg").c_str(), 1ull << 30), MAP_ERR_TEXTURE_LOAD);
    EXPECT_EQ(CheckEarthTexture(nullptr, 1ull << 30), MAP_ERR_TEXTURE_LOAD);
    EXPECT_GT(MapMemoryLimit(), 0ull);
}

namespace {

// The installation run of the library, with the program folder pointed at a
// temporary folder and the hidden window drawing into a bitmap.
class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPolicyKeyOverride(HKEY_CURRENT_USER, L"Software\\TempoviaTests\\NoKartixPolicy");
        MapAttach(GetModuleHandleW(nullptr));
        ASSERT_EQ(MapInit(nullptr, 0), 0u);
        const std::wstring folder = dir.path() + L"\\";
        CopyBounded(Map().programFolder, folder.c_str());
        SetMapSurfaceOverride(surface.dc(), kBitmapPixelFormatFlags);
    }
    void TearDown() override {
        SetMapSurfaceOverride(nullptr, 0);
        MapFree();
        SetPolicyKeyOverride(nullptr, nullptr);
    }
    std::wstring File(const wchar_t* name) const { return dir.file(name); }

    TempDir dir;
    GLTestSurface surface{32, 32};
};

}  // namespace

TEST_F(InstallTest, FirstRunBacksUpTheTextureAndCreatesTheWindow) {
    ASSERT_TRUE(WriteJpeg(File(L"map.jpg"), 64, 32, 3));
    EXPECT_EQ(MapInstall(), 0u);
    EXPECT_EQ(ReadBytes(File(L"map0.jpg")), ReadBytes(File(L"map.jpg")));
    EXPECT_FALSE(Map().installMode);
    EXPECT_EQ(Map().window, nullptr);  // the hidden window is gone again
}

TEST_F(InstallTest, ABadTextureOnTheFirstRunIsReportedAsIs) {
    ASSERT_TRUE(WriteJpeg(File(L"map.jpg"), 64, 32, 1));
    EXPECT_EQ(MapInstall(), MAP_ERR_TEXTURE_FORMAT);
    EXPECT_NE(GetFileAttributesW(File(L"map0.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    // The shipped map claiming 65500 x 32750: its 244 KB cannot hold such a
    // picture, which is refused before any of it is decoded or written.
    ASSERT_TRUE(DeleteFileW(File(L"map0.jpg").c_str()));
    std::string claim = ReadBytes(testing_support::SourcePath(L"data/map.jpg"));
    const size_t frame = claim.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    claim.replace(frame + 5, 4, "\x7F\xEE\xFF\xDC", 4);  // height, width
    ASSERT_TRUE(WriteBytes(File(L"map.jpg"), claim));
    EXPECT_EQ(MapInstall(), MAP_ERR_TEXTURE_LOAD);
    EXPECT_TRUE(ReadBytes(File(L"map.jpg")) == claim);
}

TEST_F(InstallTest, ABadTextureLaterIsReplacedByTheBackup) {
    ASSERT_TRUE(WriteJpeg(File(L"map0.jpg"), 64, 32, 3));
    ASSERT_TRUE(WriteBytes(File(L"map.jpg"), "broken"));
    EXPECT_EQ(MapInstall(), 0u);
    EXPECT_EQ(ReadBytes(File(L"map.jpg")), ReadBytes(File(L"map0.jpg")));
}

TEST_F(InstallTest, ABadBackupToo_TheSecondCheckIsReported) {
    ASSERT_TRUE(WriteJpeg(File(L"map0.jpg"), 8, 8, 3));
    ASSERT_TRUE(WriteBytes(File(L"map.jpg"), "broken"));
    EXPECT_EQ(MapInstall(), MAP_ERR_TEXTURE_FORMAT);
}

TEST_F(InstallTest, NoTextureAtAllCannotBeBackedUp) {
    EXPECT_EQ(MapInstall(), MAP_ERR_TEXTURE_COPY);
    EXPECT_EQ(MapLastSysError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(InstallTest, AWindowRefusedOutsideTheGlStepsIsAFailure) {
    ASSERT_TRUE(WriteJpeg(File(L"map.jpg"), 64, 32, 3));
    // The system refuses every window this thread makes meanwhile.
    HOOKPROC refuse = [](int code, WPARAM w, LPARAM l) -> LRESULT {
        return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, w, l);
    };
    HHOOK veto = SetWindowsHookExW(WH_CBT, refuse, nullptr, GetCurrentThreadId());
    ASSERT_NE(veto, nullptr);
    const DWORD installed = MapInstall();
    int status = 0;
    HWND window = MapCreateWindow(GetDesktopWindow(), 0, 0, 16, 16, &status);
    UnhookWindowsHookEx(veto);
    EXPECT_EQ(installed, MAP_ERR_MAKE_CURRENT);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(static_cast<DWORD>(status), MAP_ERR_MAKE_CURRENT);
    EXPECT_NE(MapLastSysError(), 0u);
}
