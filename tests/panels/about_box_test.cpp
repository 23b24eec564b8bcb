// The about box: its own message loop, the filled texts, the link through the
// shell seam, bringing it forward, and the menu command.
#include <functional>
#include <string>
#include <vector>

#include "common/settings/resource_module.h"
#include "tempovia/panels/about_box.h"
#include "tempovia/panels/one_text_format.h"
#include "tempovia/tray/menu_commands.h"
#include "tests/panels/panels_fixture.h"

namespace panels_test {
namespace {

using AboutBox = PanelsTest;

// Runs `step` once from inside the about box's own loop.
std::function<void()> g_step;
void CALLBACK StepProc(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_step) g_step();
}
void InsideTheLoop(std::function<void()> step) {
    g_step = std::move(step);
    SetTimer(nullptr, 0, 10, StepProc);
}

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// The texts of the box's static controls, in order.
BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
    reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(WindowText(child));
    return TRUE;
}

TEST_F(AboutBox, RunsUntilClosedWithVersionAndLink) {
    HWND seen = nullptr;
    INT_PTR again = 0;
    bool broughtForward = false;
    InsideTheLoop([&] {
        seen = panels::AboutWindow();
        if (!seen) return;
        EXPECT_EQ(ItemText(seen, panels::kAboutVersionId), L"Tempovia 5.0");
        // The version, the blurb, the link and the button: nothing more.
        std::vector<std::wstring> texts;
        EnumChildWindows(seen, CollectText, reinterpret_cast<LPARAM>(&texts));
        EXPECT_EQ(texts.size(), 4u);
        for (const std::wstring& text : texts) EXPECT_EQ(text.find(L"Built"), std::wstring::npos) << text;
        // A click on the link opens it through the shell.
        HWND link = GetDlgItem(seen, panels::kAboutLinkId);
        SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        // A second request only brings this one forward.
        again = panels::RunAboutDialog();
        broughtForward = panels::ShowAboutDialog();
        PostMessageW(seen, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(panels::RunAboutDialog(), 1);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(again, reinterpret_cast<INT_PTR>(seen));
    EXPECT_TRUE(broughtForward);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_FALSE(panels::ShowAboutDialog());
    ASSERT_EQ(system_.shell.size(), 1u);
    EXPECT_EQ(system_.shell[0].verb, L"open");
    EXPECT_EQ(system_.shell[0].file, L"https://www.tempovia.example/");
}

TEST_F(AboutBox, AQuitWhileOpenReachesTheOuterLoop) {
    InsideTheLoop([] { PostQuitMessage(5); });
    const INT_PTR result = panels::RunAboutDialog();
    HWND about = panels::AboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(about, panels::kAboutVersionId)));
    EXPECT_EQ(result, reinterpret_cast<INT_PTR>(about));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    // The quit sequence closes it.
    panels::CloseAboutDialog();
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(panels::AboutWindow(), nullptr);
}

TEST_F(AboutBox, TheMenuCommandRunsItAndReportsAMissingTemplate) {
    InsideTheLoop([] {
        if (HWND about = panels::AboutWindow()) SendMessageW(about, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(RunTrayCommand(main_, 108));
    EXPECT_EQ(panels::AboutWindow(), nullptr);

    // Without the resource library there is no dialog: 0 for the caller's message.
    FreeResourceModule();
    EXPECT_EQ(panels::RunAboutDialog(), 0);
    EXPECT_EQ(panels::AboutWindow(), nullptr);
}

TEST(OneTextFormat, FillsOnlyTheFirstTextArgument) {
    wchar_t out[32];
    EXPECT_EQ(panels::FormatOneText(L"Tempovia %s", L"5.0", out, 32), 12u);
    EXPECT_STREQ(out, L"Tempovia 5.0");
    panels::FormatOneText(L"%s and %s, %d%% %n", L"x", out, 32);
    EXPECT_STREQ(out, L"x and %s, %d% %n");
    panels::FormatOneText(L"Version %s", L"a long version text", out, 10);
    EXPECT_STREQ(out, L"Version a");
    panels::FormatOneText(nullptr, L"x", out, 32);
    EXPECT_STREQ(out, L"");
    panels::FormatOneText(L"%s!", nullptr, out, 32);
    EXPECT_STREQ(out, L"!");
    EXPECT_EQ(panels::FormatOneText(L"abc", L"x", out, 0), 0u);
}

}  // namespace
}  // namespace panels_test
