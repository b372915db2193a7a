// A dialog moved to a monitor of another scaling, as the system tells it: WM_DPICHANGED with the
// new DPI and the rectangle suggested for it. Then what must hold at the new DPI: the dialog took
// the rectangle, its font grew with the DPI and every text still fits its control.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace portmaven::dpi_testing {

// The dialog's window rectangle scaled about its top-left corner.
inline RECT ScaledWindowRect(HWND dialog, UINT newDpi, UINT oldDpi) {
    RECT rect{};
    ::GetWindowRect(dialog, &rect);
    rect.right = rect.left + ::MulDiv(rect.right - rect.left, static_cast<int>(newDpi),
                                      static_cast<int>(oldDpi));
    rect.bottom = rect.top + ::MulDiv(rect.bottom - rect.top, static_cast<int>(newDpi),
                                      static_cast<int>(oldDpi));
    return rect;
}

inline LONG FontHeight(HWND window) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    return std::abs(font.lfHeight);
}

// Sends the change and checks the dialog's rectangle and font.
inline void MoveToDpi(HWND dialog, UINT newDpi, UINT oldDpi) {
    const LONG heightBefore = FontHeight(dialog);
    RECT suggested = ScaledWindowRect(dialog, newDpi, oldDpi);
    ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                   reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    ::GetWindowRect(dialog, &now);
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.top, suggested.top);
    EXPECT_EQ(now.right, suggested.right);
    EXPECT_EQ(now.bottom, suggested.bottom);
    EXPECT_NEAR(FontHeight(dialog),
                ::MulDiv(heightBefore, static_cast<int>(newDpi), static_cast<int>(oldDpi)), 1);
}

// Every static text and check box of the dialog shows its whole text in its own font; a check
// box's own box takes the check-mark width at `dpi` first.
inline void ExpectTextsFit(HWND dialog, int checkBoxWidth) {
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        wchar_t kind[32] = {};
        ::GetClassNameW(control, kind, 32);
        const LONG style = ::GetWindowLongW(control, GWL_STYLE);
        const bool staticText = _wcsicmp(kind, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
        const LONG buttonType = style & BS_TYPEMASK;
        const bool checkBox = _wcsicmp(kind, L"Button") == 0 &&
                              (buttonType == BS_CHECKBOX || buttonType == BS_AUTOCHECKBOX);
        if (!staticText && !checkBox) {
            continue;
        }
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        HDC dc = ::GetDC(control);
        const HGDIOBJ previous = ::SelectObject(
            dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT needed{};
        ::DrawTextW(dc, text.c_str(), -1, &needed,
                    DT_CALCRECT | DT_SINGLELINE |
                        (staticText && (style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0));
        ::SelectObject(dc, previous);
        ::ReleaseDC(control, dc);
        RECT client{};
        ::GetClientRect(control, &client);
        const LONG width = client.right - (checkBox ? checkBoxWidth : 0);
        EXPECT_LE(needed.right, width) << "text cut off: " << ::testing::PrintToString(text);
        EXPECT_LE(needed.bottom, client.bottom)
            << "text cut off: " << ::testing::PrintToString(text);
    }
}

} // namespace portmaven::dpi_testing
