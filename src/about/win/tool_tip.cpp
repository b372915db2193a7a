#include "about/win/tool_tip.h"

#include <commctrl.h>

#include <vector>

namespace portmaven::win {

namespace {

TOOLINFOW ToolInfo(HWND window, UINT id) {
    TOOLINFOW info{};
    // The oldest size that has every field used here: accepted by every comctl32 version,
    // with or without the manifest that selects version 6.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window;
    info.uId = id;
    return info;
}

} // namespace

bool ToolTipCtrl::Create(HWND control) {
    window_.Reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    return window_.IsValid();
}

bool ToolTipCtrl::AddTool(HWND window, UINT id, const RECT& rect, std::wstring_view text) const {
    if (!window_) {
        return false;
    }
    std::wstring copy(text);
    TOOLINFOW info = ToolInfo(window, id);
    info.rect = rect;
    info.lpszText = copy.data();
    return ::SendMessageW(window_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void ToolTipCtrl::UpdateTipText(std::wstring_view text, HWND window, UINT id) const {
    if (!window_) {
        return;
    }
    std::wstring copy(text);
    TOOLINFOW info = ToolInfo(window, id);
    info.lpszText = copy.data();
    ::SendMessageW(window_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring ToolTipCtrl::GetText(HWND window, UINT id) const {
    if (!window_) {
        return {};
    }
    // Tooltip texts are limited to 80 characters unless set by callback; leave room anyway.
    std::vector<wchar_t> buffer(1024, L'\0');
    TOOLINFOW info = ToolInfo(window, id);
    info.lpszText = buffer.data();
    ::SendMessageW(window_.Get(), TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    return buffer.data();
}

void ToolTipCtrl::Destroy() noexcept {
    // Owned windows go first when a top-level window is destroyed: the handle may be stale.
    if (::IsWindow(window_.Get())) {
        window_.Reset();
    } else {
        window_.Release();
    }
}

void ToolTipCtrl::RelayEvent(const MSG& msg) const {
    if (window_) {
        ::SendMessageW(window_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
}

} // namespace portmaven::win
