// Every static text and check box of the program's dialogs shows its whole text: each is
// measured with the dialog's own font against its control. The dialogs are created from their
// templates at the template's point size and at the sizes that 125%, 150%, 175% and 200% display
// scaling give the same font, since dialog units do not grow exactly as text does. The same
// tests at the template's size also run in processes started at each of those scalings.
#include "about/about_texts.h"
#include "framework/win/wide_text.h"
#include "resource.h"
#include "support/win/window_query.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string_view>
#include <string>
#include <vector>

namespace {

using portmaven::win::AsWide;
using portmaven::win::test_support::ClassName;
using portmaven::win::test_support::WindowText;

// The template with its font's point size replaced. DIALOGEX layout: a fixed header, then the
// menu, class and caption (each none, an ordinal or a string), then the point size.
std::vector<BYTE> TemplateAtPointSize(WORD dialogId, WORD scalePercent) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(dialogId), RT_DIALOG);
    if (found == nullptr) {
        return {};
    }
    const auto* begin = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
    std::vector<BYTE> copy(begin, begin + ::SizeofResource(nullptr, found));
    constexpr size_t kHeaderBytes = 26;
    auto* word = reinterpret_cast<WORD*>(copy.data() + kHeaderBytes);
    for (int field = 0; field < 3; ++field) { // menu, class, caption
        if (*word == 0xFFFF && field < 2) {
            word += 2;
        } else {
            while (*word++ != 0) {
            }
        }
    }
    *word = static_cast<WORD>(*word * scalePercent / 100);
    return copy;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct Misfit {
    std::wstring text;
    SIZE needed;
    SIZE available;
};

// A dialog made from its template at a scale, with a window procedure that does nothing.
class ScaledDialog {
public:
    ScaledDialog(WORD dialogId, WORD scalePercent)
        : template_(TemplateAtPointSize(dialogId, scalePercent)) {
        if (!template_.empty()) {
            window_ = ::CreateDialogIndirectParamW(
                nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(template_.data()), nullptr,
                QuietDialogProc, 0);
        }
    }
    ~ScaledDialog() {
        if (window_ != nullptr) {
            ::DestroyWindow(window_);
        }
    }
    ScaledDialog(const ScaledDialog&) = delete;
    ScaledDialog& operator=(const ScaledDialog&) = delete;
    ScaledDialog(ScaledDialog&&) = delete;
    ScaledDialog& operator=(ScaledDialog&&) = delete;

    [[nodiscard]] HWND Window() const { return window_; }

    // The child showing this text, or null.
    [[nodiscard]] HWND Control(std::wstring_view text) const {
        for (HWND control = ::GetWindow(window_, GW_CHILD); control != nullptr;
             control = ::GetWindow(control, GW_HWNDNEXT)) {
            if (WindowText(control) == text) {
                return control;
            }
        }
        return nullptr;
    }

    // The control's rectangle in the dialog's client coordinates.
    [[nodiscard]] RECT Place(HWND control) const {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

private:
    std::vector<BYTE> template_;
    HWND window_ = nullptr;
};

// The size of a control's text on one line, drawn with the control's own font.
SIZE TextExtent(HWND control) {
    const std::wstring text = WindowText(control);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const bool noPrefix = ClassName(control) == L"Static" && (style & SS_NOPREFIX) != 0;
    HDC dc = ::GetDC(control);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{};
    ::DrawTextW(dc, text.c_str(), -1, &needed,
                DT_CALCRECT | DT_SINGLELINE | (noPrefix ? DT_NOPREFIX : 0));
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return {needed.right, needed.bottom};
}

// The controls whose text is cut off at this scale.
std::vector<Misfit> MisfitsOf(WORD dialogId, WORD scalePercent) {
    const ScaledDialog dialog(dialogId, scalePercent);
    EXPECT_NE(dialog.Window(), nullptr);
    std::vector<Misfit> misfits;
    for (HWND control = ::GetWindow(dialog.Window(), GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(control, GWL_STYLE);
        const std::wstring kind = ClassName(control);
        const bool staticText =
            _wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
        const LONG buttonType = style & BS_TYPEMASK;
        const bool checkBox = _wcsicmp(kind.c_str(), L"Button") == 0 &&
                              (buttonType == BS_CHECKBOX || buttonType == BS_AUTOCHECKBOX);
        if (!staticText && !checkBox) {
            continue;
        }
        const SIZE needed = TextExtent(control);
        RECT client{};
        ::GetClientRect(control, &client);
        LONG width = client.right;
        if (checkBox) {
            // The box itself and the gap before the text take their share of the control.
            width -= ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE) * 2;
        }
        if (needed.cx > width || needed.cy > client.bottom) {
            misfits.push_back({WindowText(control), needed, {width, client.bottom}});
        }
    }
    return misfits;
}

std::string Describe(const std::vector<Misfit>& misfits) {
    std::string out;
    for (const Misfit& misfit : misfits) {
        out += ::testing::PrintToString(misfit.text) + " needs " +
               std::to_string(misfit.needed.cx) + "x" + std::to_string(misfit.needed.cy) +
               " px, has " + std::to_string(misfit.available.cx) + "x" +
               std::to_string(misfit.available.cy) + "\n";
    }
    return out;
}

class DialogTextsFit : public ::testing::TestWithParam<WORD> {};

TEST_P(DialogTextsFit, ConfigureDialog) {
    const auto misfits = MisfitsOf(IDD_CONFIGURE, GetParam());
    EXPECT_TRUE(misfits.empty()) << Describe(misfits);
}

TEST_P(DialogTextsFit, PortSettingsDialog) {
    const auto misfits = MisfitsOf(IDD_PORT_SETTINGS, GetParam());
    EXPECT_TRUE(misfits.empty()) << Describe(misfits);
}

TEST_P(DialogTextsFit, AboutBox) {
    const auto misfits = MisfitsOf(IDD_ABOUTBOX, GetParam());
    EXPECT_TRUE(misfits.empty()) << Describe(misfits);
}

TEST_P(DialogTextsFit, AboutBoxCreditsFollowTheirLabel) {
    const ScaledDialog dialog(IDD_ABOUTBOX, GetParam());
    const HWND label = dialog.Control(AsWide(portmaven::about::kCreditsLabel));
    const HWND names = dialog.Control(AsWide(portmaven::about::kCreditsNames));
    ASSERT_TRUE(label != nullptr && names != nullptr);
    const SIZE labelText = TextExtent(label);
    const LONG gap = dialog.Place(names).left - (dialog.Place(label).left + labelText.cx);
    // About the width of a blank or two: the names read as the rest of the label's line.
    EXPECT_GE(gap, 0);
    EXPECT_LE(gap, labelText.cy);
    EXPECT_EQ(dialog.Place(names).top, dialog.Place(label).top);
}

INSTANTIATE_TEST_SUITE_P(Scales, DialogTextsFit, ::testing::Values(100, 125, 150, 175, 200));

} // namespace
