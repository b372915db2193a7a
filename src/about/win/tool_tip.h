// A tooltip window holding tools of one control. A child control cannot own windows (its
// top-level window becomes the owner), so the control destroys its tooltip itself.
#pragma once

#include "framework/win/scoped_handle.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace portmaven::win {

class ToolTipCtrl {
public:
    // A tooltip for `control`, with no styles beyond those of every tooltip.
    bool Create(HWND control);
    // A tool `id` over `rect` (client coordinates of `window`); the tooltip copies the text.
    bool AddTool(HWND window, UINT id, const RECT& rect, std::wstring_view text) const;
    void UpdateTipText(std::wstring_view text, HWND window, UINT id) const;
    // The text of a tool; empty when there is no such tool.
    [[nodiscard]] std::wstring GetText(HWND window, UINT id) const;
    // Hands a mouse message of the tool's window to the tooltip, which shows and hides itself
    // from them.
    void RelayEvent(const MSG& msg) const;

    [[nodiscard]] HWND GetSafeHwnd() const noexcept { return window_.Get(); }
    // The tooltip goes before its control; its owner may have destroyed it already.
    void Destroy() noexcept;

private:
    ScopedWindow window_;
};

} // namespace portmaven::win
