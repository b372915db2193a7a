#include "access/port_holder.h"

namespace portmaven::access {

namespace {

std::u16string DecimalText(std::uint32_t number) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return digits;
}

} // namespace

std::u16string HoldersText(std::span<const PortHolder> holders) {
    std::u16string text;
    for (const PortHolder& holder : holders) {
        if (!text.empty()) {
            text += u", ";
        }
        text += holder.program + u" (" + DecimalText(holder.processId) + u")";
    }
    return text;
}

} // namespace portmaven::access
