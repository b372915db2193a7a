// Sizing the homepage control to its caption, on a real static control.
#include "about/win/fit_to_text.h"

#include "framework/win/scoped_handle.h"

#include <gtest/gtest.h>

#include <string>

namespace portmaven::win {
namespace {

class FitToText : public testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        font_.Reset(::CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, 0, 0, L"Tahoma"));
    }
    void TearDown() override { ::DestroyWindow(parent_); }

    HWND Control(const wchar_t* caption) {
        HWND control = ::CreateWindowExW(0, L"STATIC", caption, WS_CHILD | WS_VISIBLE, 30, 40, 300,
                                         13, parent_, nullptr, nullptr, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        return control;
    }

    SIZE Extent(const std::wstring& text) const {
        ScopedWindowDC dc(parent_);
        ScopedSelectObject selected(dc.Get(), font_.Get());
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }

    static RECT WindowRectInParent(HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    HWND parent_ = nullptr;
    ScopedFont font_;
};

TEST_F(FitToText, ShrinksToTheCaptionInTheControlsFont) {
    HWND control = Control(L"https://portmaven.example");
    const SIZE text = Extent(L"https://portmaven.example");
    ASSERT_LT(text.cx, 300);
    FitControlToText(control, 300);
    const RECT rect = WindowRectInParent(control);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, text.cx);
    EXPECT_EQ(rect.bottom - rect.top, text.cy + 2);
}

TEST_F(FitToText, NeverGrowsBeyondTheMaximumWidth) {
    const wchar_t* caption = L"https://portmaven.example/a/rather/long/path/to/somewhere";
    HWND control = Control(caption);
    ASSERT_GT(Extent(caption).cx, 120);
    FitControlToText(control, 120);
    const RECT rect = WindowRectInParent(control);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, Extent(caption).cy + 2);
}

} // namespace
} // namespace portmaven::win
