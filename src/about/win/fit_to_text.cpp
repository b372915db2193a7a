#include "about/win/fit_to_text.h"

#include "framework/win/scoped_handle.h"

#include <algorithm>
#include <string>

namespace portmaven::win {

void FitControlToText(HWND control, int maxWidth) {
    std::wstring caption(static_cast<size_t>(std::max(::GetWindowTextLengthW(control), 0)) + 1,
                         L'\0');
    caption.resize(static_cast<size_t>(
        std::max(::GetWindowTextW(control, caption.data(), static_cast<int>(caption.size())), 0)));

    SIZE extent{};
    {
        ScopedWindowDC dc(control);
        if (!dc) {
            return;
        }
        auto* font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        ScopedSelectObject selected(dc.Get(), font);
        if (!::GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()),
                                     &extent)) {
            return;
        }
    }
    ::SetWindowPos(control, nullptr, 0, 0, std::min(static_cast<int>(extent.cx), maxWidth),
                   extent.cy + 2, SWP_NOMOVE | SWP_NOOWNERZORDER);
}

} // namespace portmaven::win
