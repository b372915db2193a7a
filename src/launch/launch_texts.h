// The launch's texts that both front-ends show.
#pragma once

namespace portmaven::launch {

// A command line that names no program that can be started.
inline constexpr char16_t kInvalidCommandText[] = u"Invalid command to execute";

} // namespace portmaven::launch
