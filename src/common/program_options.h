// The options both programs take on their command line: answers for scripts, given without a
// tray icon and whether or not a copy of the program runs.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace portmaven::common {

// How a program finds and writes the answers.
struct ScriptAnswers {
    // "--list-ports": the ports present now, one line each; nothing when they cannot be
    // enumerated.
    std::function<std::optional<std::u16string>()> portList;
    // Writes an answer for the reader; false when it cannot be written.
    std::function<bool(std::u16string_view)> write;
};

// The exit status of an answer given, and of one that could not be given.
inline constexpr int kScriptSuccess = 0;
inline constexpr int kScriptFailure = 1;

// `arguments` are those after the program's own name. Gives the answer the first one asks for
// and returns the exit status; nothing when they ask for no answer and the tray program starts
// (no argument, or one the program does not know).
[[nodiscard]] std::optional<int> RunScriptOption(std::span<const std::u16string> arguments,
                                                 const ScriptAnswers& answers);

} // namespace portmaven::common
