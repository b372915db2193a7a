// The link on a real static control under Wine: attach, the reflected colour request and its
// GDI objects, the hover timer, the click that opens a target through the shell, and the
// failure box.
#include "about/win/hyper_link.h"

#include "framework/win/scoped_handle.h"
#include "support/win/wait.h"
#include "support/win/window_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace portmaven::win {
namespace {

constexpr wchar_t kHostClass[] = L"PortmavenLinkTestHost";
constexpr wchar_t kCaption[] = L"https://portmaven.example";
constexpr COLORREF kNormal = RGB(0, 0, 255);

// A top-level window that reflects its WM_CTLCOLORSTATIC to the link stored in its user data,
// the way the About box does.
LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* link = reinterpret_cast<CHyperLink*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        if (MessageResult result = link->ReflectCtlColor({message, wParam, lParam})) {
            return *result;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

using Paint = test_support::ColourRequest;
using test_support::PumpFor;
using test_support::PumpUntil;

class HyperLinkWin : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kHostClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        ::RegisterClassW(&wc); // fails harmlessly when already registered
        host_ = ::CreateWindowExW(0, kHostClass, L"Link host", WS_OVERLAPPEDWINDOW, 200, 200, 400,
                                  200, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(host_, nullptr);
        font_.Reset(::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, 0, 0, L"Tahoma"));
        control_ = NewControl();
        ASSERT_NE(control_, nullptr);
        link_ = std::make_unique<CHyperLink>();
        ::SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(link_.get()));
    }

    void TearDown() override {
        ::SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
        link_.reset();
        ::DestroyWindow(host_);
        ::ReleaseCapture();
    }

    HWND NewControl() {
        HWND control =
            ::CreateWindowExW(0, L"STATIC", kCaption, WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 200,
                              20, host_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        return control;
    }

    Paint RequestColours(HWND control = nullptr) {
        return test_support::RequestColours(host_, control != nullptr ? control : control_);
    }

    void Hover() {
        ::SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    void Press() { ::SendMessageW(control_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }
    void Release(int x = 2, int y = 2) {
        ::SendMessageW(control_, WM_LBUTTONUP, 0,
                       MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                                  static_cast<WORD>(static_cast<short>(y))));
    }
    POINT ControlCentre() const {
        RECT rect{};
        ::GetWindowRect(control_, &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    HWND host_ = nullptr;
    HWND control_ = nullptr;
    ScopedFont font_;
    std::unique_ptr<CHyperLink> link_;
};

TEST_F(HyperLinkWin, AttachMakesTheStaticNotifyAndGivesItArrowAndTooltip) {
    ASSERT_TRUE(link_->SetTarget(u"  https://portmaven.example/start "));
    ASSERT_TRUE(link_->SubclassWindow(control_));
    EXPECT_EQ(link_->GetSafeHwnd(), control_);
    EXPECT_NE(::GetWindowLongW(control_, GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_EQ(link_->GetLinkCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    HWND tip = link_->GetToolTip().GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(tip));
    EXPECT_EQ(link_->GetToolTip().GetText(control_, 1), L"https://portmaven.example/start")
        << "the tool takes the target held at attach time";
    link_->SetTipText(u"Portmaven Homepage");
    EXPECT_EQ(link_->GetToolTip().GetText(control_, 1), L"Portmaven Homepage");

    EXPECT_FALSE(link_->SubclassWindow(NewControl())) << "one control per link";

    // Blanks are a valid target while the control has a caption, not without one.
    EXPECT_TRUE(link_->SetTarget(u"   "));
    EXPECT_TRUE(link_->Target().empty());
    ::SetWindowTextW(control_, L"");
    EXPECT_FALSE(link_->SetTarget(u" \t "));
}

TEST_F(HyperLinkWin, FailedSubclassingLeavesThePlainStaticAsItWas) {
    // The system refuses the subclass (as it does for a window of another thread).
    struct RefusedLink : CHyperLink {
        bool InstallSubclass(HWND) override { return false; }
    } refused;
    const LONG style = ::GetWindowLongW(control_, GWL_STYLE);
    ASSERT_EQ(style & SS_NOTIFY, 0);

    EXPECT_FALSE(refused.SubclassWindow(control_));
    EXPECT_EQ(::GetWindowLongW(control_, GWL_STYLE), style) << "SS_NOTIFY left behind";
    EXPECT_EQ(refused.GetToolTip().GetSafeHwnd(), nullptr) << "a tooltip left behind";
    EXPECT_EQ(refused.GetSafeHwnd(), nullptr);
    // The control is still free for a link that can attach.
    EXPECT_TRUE(link_->SubclassWindow(control_));
}

TEST_F(HyperLinkWin, ColourRequestPaintsTheStateColourAndUnderline) {
    ASSERT_TRUE(link_->SubclassWindow(control_));
    Paint rest = RequestColours();
    EXPECT_EQ(rest.text, kNormal);
    EXPECT_EQ(rest.back, RGB(255, 255, 255));
    EXPECT_EQ(rest.bkMode, TRANSPARENT);
    ASSERT_NE(rest.font, nullptr) << "the link font was not selected";
    EXPECT_NE(rest.font, font_.Get()) << "the control's own font must stay untouched";
    EXPECT_TRUE(rest.underlined) << "underlined until the first entry";
    ASSERT_NE(rest.brush, nullptr);
    LOGBRUSH brush{};
    ASSERT_NE(::GetObjectW(rest.brush, sizeof brush, &brush), 0);
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_NULL));

    link_->SetUnderlineMode(about::UnderlineOnHover);
    EXPECT_FALSE(RequestColours().underlined);
    Hover();
    Paint hover = RequestColours();
    EXPECT_EQ(hover.text, RGB(255, 255, 0));
    EXPECT_TRUE(hover.underlined);
    Press();
    EXPECT_EQ(RequestColours().text, RGB(255, 0, 0));
    EXPECT_EQ(::GetCapture(), control_);
    ::ReleaseCapture();

    // A colour request for a sibling is not the link's business.
    HWND other = NewControl();
    HDC dc = ::CreateCompatibleDC(nullptr);
    EXPECT_FALSE(link_->ReflectCtlColor(
        {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(other)}));
    ::DeleteDC(dc);
}

TEST_F(HyperLinkWin, FontAndBrushAreDeletedWhenReplacedAndWithTheLink) {
    ASSERT_TRUE(link_->SubclassWindow(control_));
    const Paint first = RequestColours();
    ASSERT_EQ(::GetObjectType(first.font), static_cast<DWORD>(OBJ_FONT));
    // The system hands out its one hollow brush for that description: deleting it does
    // nothing, so only the font can leak.
    EXPECT_EQ(first.brush, ::GetStockObject(NULL_BRUSH));
    const Paint second = RequestColours();
    EXPECT_EQ(::GetObjectType(first.font), 0u) << "each paint must delete the previous font";
    EXPECT_EQ(::GetObjectType(second.font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(second.brush, first.brush);
    HWND tip = link_->GetToolTip().GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(tip));

    // The control goes; the link unhooks itself and can be attached again, which replaces the
    // background brush.
    ::DestroyWindow(control_);
    EXPECT_EQ(link_->GetSafeHwnd(), nullptr);
    EXPECT_EQ(link_->GetToolTip().GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(tip)) << "the tooltip outlived its control";
    control_ = NewControl();
    ASSERT_TRUE(link_->SubclassWindow(control_));
    const Paint third = RequestColours();
    EXPECT_EQ(::GetObjectType(second.font), 0u);

    link_.reset();
    ::SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    EXPECT_EQ(::GetObjectType(third.font), 0u) << "font leaked by the destructor";
    EXPECT_EQ(::GetObjectType(third.brush), static_cast<DWORD>(OBJ_BRUSH));
    // The control outlives the link and is a plain static again.
    EXPECT_EQ(::SendMessageW(control_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control_),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              FALSE);
}

// The longest horizontal run of pixels in the link's text colour that the static control itself
// painted: an underline spans the text, a letter's stroke does not.
int LongestRunOfColour(HWND control, COLORREF colour) {
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    ::GetClientRect(control, &client);
    HDC dc = ::GetDC(control);
    int longest = 0;
    for (int y = 0; y < client.bottom; ++y) {
        int run = 0;
        for (int x = 0; x < client.right; ++x) {
            run = ::GetPixel(dc, x, y) == colour ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    ::ReleaseDC(control, dc);
    return longest;
}

TEST_F(HyperLinkWin, UnderlineReachesWhatTheControlPaints) {
    ::ShowWindow(host_, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(link_->SubclassWindow(control_));
    link_->SetUnderlineMode(about::UnderlineOnHover);
    const int plain = LongestRunOfColour(control_, kNormal);
    ASSERT_GT(plain, 0) << "the link text was not painted in its colour";
    Hover();
    const int underlined = LongestRunOfColour(control_, RGB(255, 255, 0));
    EXPECT_GT(underlined, 3 * plain) << "no underline under the hovered text";

    // The control keeps its own font for when the link lets go of it.
    link_.reset();
    ::SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(control_, WM_GETFONT, 0, 0)), font_.Get());
    EXPECT_EQ(::GetObjectType(font_.Get()), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(HyperLinkWin, HoverTimerNoticesThePointerLeaving) {
    ASSERT_TRUE(link_->SubclassWindow(control_));
    link_->SetUnderlineMode(about::UnderlineOnHover);
    const POINT inside = ControlCentre();
    ASSERT_TRUE(::SetCursorPos(inside.x, inside.y));
    Hover();
    ASSERT_TRUE(link_->IsTracking());
    PumpFor(350);
    EXPECT_TRUE(link_->IsTracking()) << "left while the pointer stayed inside";
    EXPECT_TRUE(RequestColours().underlined);

    ASSERT_TRUE(::SetCursorPos(inside.x, inside.y + 150));
    EXPECT_TRUE(PumpUntil([&] { return !link_->IsTracking(); }, 2000))
        << "timer 1 did not notice the leave";
    const Paint rest = RequestColours();
    EXPECT_EQ(rest.text, kNormal);
    EXPECT_FALSE(rest.underlined);
}

class LinkTargetFolder {
public:
    LinkTargetFolder() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path_ = std::filesystem::path(temp) /
                (L"portmaven-link-" + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::create_directories(path_);
    }
    ~LinkTargetFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    LinkTargetFolder(const LinkTargetFolder&) = delete;
    LinkTargetFolder& operator=(const LinkTargetFolder&) = delete;
    LinkTargetFolder(LinkTargetFolder&&) = delete;
    LinkTargetFolder& operator=(LinkTargetFolder&&) = delete;

    [[nodiscard]] std::filesystem::path File(const wchar_t* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

TEST_F(HyperLinkWin, ClickOpensTheTargetThroughTheShellAndShowsVisited) {
    LinkTargetFolder folder;
    // A batch file that leaves a mark when the shell runs it.
    const auto marker = folder.File(L"opened.txt");
    const auto script = folder.File(L"open me.bat");
    std::ofstream(script) << "@echo opened> \"" << marker.string() << "\"\r\n";
    ASSERT_TRUE(link_->SubclassWindow(control_));
    link_->SetHoverAndVisitedColors(RGB(255, 0, 0), RGB(111, 49, 152));
    ASSERT_TRUE(link_->SetTarget(u" " + script.u16string() + u" "));

    test_support::MessageBoxWatcher boxes(L"Error");
    Hover();
    Press();
    Release();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(link_->IsVisited());
    EXPECT_EQ(RequestColours().text, RGB(111, 49, 152)) << "visited colour at once";
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(marker); }, 20000))
        << "the shell did not run the target";
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(HyperLinkWin, FailedOpenShowsTheErrorBoxAndTheNormalColour) {
    ASSERT_TRUE(link_->SubclassWindow(control_));
    link_->SetHoverAndVisitedColors(RGB(255, 0, 0), RGB(111, 49, 152));
    ASSERT_TRUE(link_->SetTarget(u"Z:\\no\\such\\folder\\portmaven-missing.txt"));
    test_support::MessageBoxWatcher boxes(L"Error");

    // A release outside, or one without the press that took the capture, opens nothing.
    Press();
    Release(-40, -40);
    EXPECT_EQ(::GetCapture(), nullptr);
    Release();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(RequestColours().text, kNormal);

    Press();
    Release();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.LastText(), L"Failed to open URL");
    EXPECT_EQ(boxes.Owner(), host_) << "the box belongs to the control's window";
    EXPECT_FALSE(link_->IsVisited());
    EXPECT_EQ(RequestColours().text, kNormal);
}

} // namespace
} // namespace portmaven::win
