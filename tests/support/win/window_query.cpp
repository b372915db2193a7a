#include "support/win/window_query.h"

#include <iterator>
#include <utility>

namespace portmaven::win::test_support {

std::wstring WindowText(HWND window) {
    wchar_t buffer[2048] = {};
    const LRESULT length =
        ::SendMessageW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
    return {buffer, static_cast<size_t>(length > 0 ? length : 0)};
}

std::wstring ClassName(HWND window) {
    wchar_t buffer[256] = {};
    const int length = ::GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return {buffer, static_cast<size_t>(length > 0 ? length : 0)};
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassName(child).c_str(), L"Static") == 0) {
            text += WindowText(child);
        }
    }
    return text;
}

ColourRequest RequestColours(HWND parent, HWND control) {
    ColourRequest request;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ stockFont = ::GetCurrentObject(dc, OBJ_FONT);
    request.brush = reinterpret_cast<HBRUSH>(::SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(dc),
                                                            reinterpret_cast<LPARAM>(control)));
    request.text = ::GetTextColor(dc);
    request.back = ::GetBkColor(dc);
    request.bkMode = ::GetBkMode(dc);
    auto* font = static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT));
    if (font != stockFont) {
        request.font = font;
        LOGFONTW logFont{};
        ::GetObjectW(font, sizeof logFont, &logFont);
        request.underlined = logFont.lfUnderline != 0;
    }
    ::SelectObject(dc, stockFont);
    ::DeleteDC(dc);
    return request;
}

MessageBoxWatcher::MessageBoxWatcher(std::wstring caption)
    : caption_(std::move(caption)), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::wstring MessageBoxWatcher::LastText() const {
    const std::lock_guard lock(mutex_);
    return lastText_;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        if (HWND box = ::FindWindowW(L"#32770", caption_.c_str())) {
            {
                const std::lock_guard lock(mutex_);
                lastText_ = MessageBoxText(box);
            }
            owner_ = ::GetWindow(box, GW_OWNER);
            ++count_;
            ::SendMessageW(box, WM_COMMAND, IDOK, 0);
            while (::IsWindow(box) && !stop_) {
                ::Sleep(10);
            }
        }
        ::Sleep(20);
    }
}

} // namespace portmaven::win::test_support
