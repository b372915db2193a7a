// The About box end to end: opened from the tray menu, by its command and from the host's
// system menu, with its texts and the homepage link shrunk to its caption.
#include "harness.h"

#include "about/about_texts.h"
#include "tray/menu_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace portmaven::e2e {
namespace {

constexpr UINT kMenuAbout = tray::kAboutId;
constexpr UINT kSystemMenuAbout = 0x0010;
constexpr int kHomepageLinkId = 1010;
constexpr wchar_t kAboutCaption[] = L"About Portmaven";

std::wstring Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
    struct Search {
        const std::wstring* text;
        HWND found;
    } search{&text, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (WindowText(child) == *s->text) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Checks the open box and closes it with its OK button.
void CheckAndCloseAboutBox(HWND box) {
    ASSERT_NE(box, nullptr) << "no About box";
    HWND version = ChildWithText(box, Wide(about::kVersionText));
    ASSERT_NE(version, nullptr) << "no version line";
    EXPECT_EQ(WindowText(version), L"Portmaven Version 1.0");
    EXPECT_NE(ChildWithText(box, Wide(about::kCopyrightText)), nullptr);
    EXPECT_NE(ChildWithText(box, Wide(about::kCreditsNames)), nullptr);

    HWND link = ::GetDlgItem(box, kHomepageLinkId);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(WindowText(link), Wide(about::kHomepageUrl));
    EXPECT_NE(::GetWindowLongW(link, GWL_STYLE) & SS_NOTIFY, 0) << "the link was not attached";

    // The version line keeps its template size (76 units wide) and gives the scale of the
    // link's template width (111 units): the link must have shrunk to its shorter caption and
    // kept its place.
    const RECT versionRect = ScreenRect(version);
    const RECT linkRect = ScreenRect(link);
    const double templateWidth = 111.0 * (versionRect.right - versionRect.left) / 76.0;
    EXPECT_LT(linkRect.right - linkRect.left, templateWidth - 8);
    EXPECT_GT(linkRect.right - linkRect.left, 20);
    EXPECT_EQ(linkRect.left, versionRect.left);

    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000)) << "OK did not close the box";
}

TEST(AboutBox, OpensFromTheSystemMenuOfTheHiddenHost) {
    TestFolder folder(L"about-sysmenu");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ::PostMessageW(app.Host(), WM_SYSCOMMAND, kSystemMenuAbout, 0);
    CheckAndCloseAboutBox(app.WaitForWindow(kAboutCaption));
    EXPECT_FALSE(app.HasExited());
}

TEST(AboutBox, OpensFromTheTrayMenuWithTheKeyboard) {
    TestFolder folder(L"about-tray");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    ASSERT_TRUE(app.OpenTrayMenu());
    // The last two entries are "About Portmaven" and "Exit"; upwards from the bottom.
    PressMenuKey(VK_UP, 2);
    PressMenuKey(VK_RETURN);
    HWND box = app.WaitForWindow(kAboutCaption);
    if (box == nullptr) {
        for (HWND w : app.VisibleWindows()) {
            ADD_FAILURE() << "visible: " << testing::PrintToString(WindowText(w)) << " class "
                          << testing::PrintToString(ClassName(w));
        }
        ADD_FAILURE() << "exited " << app.HasExited() << " menu " << IsPopupMenuShown();
    }
    CheckAndCloseAboutBox(box);
    EXPECT_FALSE(app.HasExited()) << "Exit was chosen instead of About";
}

TEST(AboutBox, OpensAgainAfterClosing) {
    TestFolder folder(L"about-again");
    PortmavenProcess app(folder);
    ASSERT_TRUE(app.WaitForHost());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        app.PostCommand(kMenuAbout);
        CheckAndCloseAboutBox(app.WaitForWindow(kAboutCaption));
    }
    EXPECT_TRUE(WaitUntil([&] { return app.VisibleWindows().empty(); }, 5000));
}

} // namespace
} // namespace portmaven::e2e
