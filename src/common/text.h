// Text helpers that every subsystem shares, so that "white space" and "the same word" mean one
// thing throughout the program.
#pragma once

#include <string>
#include <string_view>

namespace portmaven::common {

// The ASCII controls tab to carriage return, the blank, and Unicode's other space characters
// (no-break, ideographic and the typographic spaces): what the system's character types call
// a space.
[[nodiscard]] bool IsWhiteSpace(char16_t c) noexcept;

[[nodiscard]] std::u16string_view TrimWhiteSpace(std::u16string_view text) noexcept;
[[nodiscard]] std::u16string_view TrimTrailingWhiteSpace(std::u16string_view text) noexcept;

// Comparisons for the program's own ASCII words (captions, "COM"): only A-Z and a-z fold.
[[nodiscard]] bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) noexcept;
[[nodiscard]] bool StartsWithIgnoringAsciiCase(std::u16string_view text,
                                               std::u16string_view prefix) noexcept;

// A number in decimal digits, as the program writes counts and speeds.
[[nodiscard]] std::u16string DecimalText(unsigned long long value);

} // namespace portmaven::common
