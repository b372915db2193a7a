// The portable core keeps UTF-16 text as char16_t; Win32 takes wchar_t, which is the same
// 16-bit code unit on Windows. These views convert without copying code units one by one.
#pragma once

#include <string>
#include <string_view>

namespace portmaven::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is a UTF-16 code unit");

inline std::wstring ToWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

inline std::u16string ToUtf16(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

inline const wchar_t* AsWide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

inline const char16_t* AsUtf16(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

} // namespace portmaven::win
