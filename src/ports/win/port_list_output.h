// Text for scripts from a program without a console of its own: to the standard output when
// it is a file or a pipe, else to the console of the process that started the program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace portmaven::win {

// Writes the text as UTF-8 to a redirected standard output, or to the parent's console;
// false when there is neither.
bool WriteScriptOutput(std::u16string_view text);

// The ports present now, one line each ("--list-ports"); nothing when they cannot be
// enumerated.
std::optional<std::u16string> PortListNow();

} // namespace portmaven::win
