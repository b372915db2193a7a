#include "ports/fit_text.h"

#include "common/text.h"

namespace portmaven::ports {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

bool IsHighSurrogate(char16_t unit) noexcept {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

std::u16string FitToBuffer(std::u16string_view text, std::size_t bufferUnits) {
    if (text.size() < bufferUnits) {
        return std::u16string(text);
    }
    if (bufferUnits < 2) {
        return {};
    }
    // Room for the kept text, the ellipsis and the terminator.
    std::u16string_view kept = text.substr(0, bufferUnits - 2);
    if (!kept.empty() && IsHighSurrogate(kept.back())) {
        kept.remove_suffix(1);
    }
    std::u16string fitted(common::TrimTrailingWhiteSpace(kept));
    fitted.push_back(kEllipsis);
    return fitted;
}

} // namespace portmaven::ports
