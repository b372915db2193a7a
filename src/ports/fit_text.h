// Cutting a text to fit a fixed buffer of UTF-16 units, as the system's tray icon fields are.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace portmaven::ports {

// A buffer size that any text fits, for front-ends whose fields have no fixed size.
inline constexpr std::size_t kUnlimitedBuffer = std::numeric_limits<std::size_t>::max();

// The text as it fits a buffer of bufferUnits UTF-16 units, its terminator included: unchanged
// when it fits, otherwise cut and ended with an ellipsis ("…"). The cut never splits a
// surrogate pair and drops the white space it would leave before the ellipsis. A buffer of
// fewer than two units holds only the terminator, so the result is then empty.
[[nodiscard]] std::u16string FitToBuffer(std::u16string_view text, std::size_t bufferUnits);

} // namespace portmaven::ports
