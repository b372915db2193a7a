#include "launch/shell_words.h"

namespace portmaven::launch {

namespace {

bool IsSeparator(char16_t c) noexcept {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool EscapableInDoubleQuotes(char16_t c) noexcept {
    return c == u'$' || c == u'`' || c == u'"' || c == u'\\' || c == u'\n';
}

} // namespace

std::optional<std::vector<std::u16string>> SplitShellWords(std::u16string_view line) {
    std::vector<std::u16string> words;
    std::u16string word;
    bool inWord = false; // also true for a word made only of quotes: "" is a word
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<char16_t> {
        if (i >= line.size()) {
            return std::nullopt;
        }
        return line[i++];
    };
    while (const std::optional<char16_t> c = next()) {
        if (IsSeparator(*c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (*c == u'\\') {
            const std::optional<char16_t> escaped = next();
            if (!escaped) {
                return std::nullopt;
            }
            if (*escaped != u'\n') {
                word.push_back(*escaped);
            }
        } else if (*c == u'\'') {
            const std::size_t closing = line.find(u'\'', i);
            if (closing == std::u16string_view::npos) {
                return std::nullopt;
            }
            word.append(line.substr(i, closing - i));
            i = closing + 1;
        } else if (*c == u'"') {
            for (;;) {
                const std::optional<char16_t> q = next();
                if (!q) {
                    return std::nullopt;
                }
                if (*q == u'"') {
                    break;
                }
                if (*q == u'\\' && i < line.size() && EscapableInDoubleQuotes(line[i])) {
                    const char16_t escaped = line[i++];
                    if (escaped != u'\n') {
                        word.push_back(escaped);
                    }
                } else {
                    word.push_back(*q);
                }
            }
        } else {
            word.push_back(*c);
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace portmaven::launch
