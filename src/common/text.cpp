#include "common/text.h"

#include <algorithm>
#include <string>

namespace portmaven::common {

namespace {

char16_t FoldAsciiCase(char16_t c) noexcept {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameIgnoringAsciiCase(char16_t a, char16_t b) noexcept {
    return FoldAsciiCase(a) == FoldAsciiCase(b);
}

} // namespace

bool IsWhiteSpace(char16_t c) noexcept {
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u0085':
    case u'\u00A0':
    case u'\u1680':
    case u'\u2028':
    case u'\u2029':
    case u'\u202F':
    case u'\u205F':
    case u'\u3000':
        return true;
    default:
        return c >= u'\u2000' && c <= u'\u200A';
    }
}

std::u16string_view TrimTrailingWhiteSpace(std::u16string_view text) noexcept {
    while (!text.empty() && IsWhiteSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string_view TrimWhiteSpace(std::u16string_view text) noexcept {
    while (!text.empty() && IsWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    return TrimTrailingWhiteSpace(text);
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept {
    return std::ranges::equal(a, b, SameIgnoringAsciiCase);
}

bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view prefix) noexcept {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::u16string DecimalText(unsigned long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

} // namespace portmaven::common
