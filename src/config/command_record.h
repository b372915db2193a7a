// The command record: one user command, a display name and a command line. Its memory image
// (two fixed-size, zero-terminated UTF-16 fields, 2560 bytes) is also the record of the
// command file, so the field order and widths are fixed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace portmaven::config {

inline constexpr std::size_t kNameUnits = 256;
inline constexpr std::size_t kCommandUnits = 1024;

struct tag_ST_PORTMAVEN_CONFIG {
    char16_t szName[kNameUnits];
    char16_t szCommand[kCommandUnits];
};

inline constexpr std::size_t kRecordBytes = 2560;
static_assert(sizeof(tag_ST_PORTMAVEN_CONFIG) == kRecordBytes);
static_assert(offsetof(tag_ST_PORTMAVEN_CONFIG, szCommand) == 512);

// The text of a field up to its terminator; a field without one yields all its units but the
// last, which is where the terminator belongs.
template <std::size_t N> std::u16string_view FieldText(const char16_t (&field)[N]) {
    std::size_t length = 0;
    while (length < N - 1 && field[length] != u'\0') {
        ++length;
    }
    return {field, length};
}

// Copies text into a field, cut to the field's width, zero-filling everything after the text.
template <std::size_t N> void SetFieldText(char16_t (&field)[N], std::u16string_view text) {
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::copy_n(text.data(), length, field);
    std::fill(field + length, field + N, u'\0');
}

// A zeroed record holding the two texts (cut to their fields).
tag_ST_PORTMAVEN_CONFIG MakeCommandRecord(std::u16string_view name, std::u16string_view command);

// Makes the record what the list keeps: each field's text up to its terminator (or up to the
// field's last unit, which becomes the terminator), zeros after it.
void Normalize(tag_ST_PORTMAVEN_CONFIG& record) noexcept;

// A record as the list keeps it: each string copied up to its terminator, zeros after it.
tag_ST_PORTMAVEN_CONFIG NormalizedCopy(const tag_ST_PORTMAVEN_CONFIG& source);

} // namespace portmaven::config
