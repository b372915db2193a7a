// Splitting a command line into words the way a POSIX shell does, without any expansion.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::launch {

// Words are separated by blanks, tabs and newlines. Single quotes keep everything up to the
// next single quote; double quotes keep everything, except that a backslash before $, `, ",
// \ or a newline stands for that character (before a newline: for nothing); outside quotes a
// backslash keeps the next character (before a newline: nothing). Quotes join the word around
// them and "" is an empty word. Nothing is expanded: $HOME, ~ and * stay as they are.
// nullopt for an unterminated quote or a backslash at the very end.
std::optional<std::vector<std::u16string>> SplitShellWords(std::u16string_view line);

} // namespace portmaven::launch
