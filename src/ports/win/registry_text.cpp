#include "ports/win/registry_text.h"

namespace portmaven::win {

std::u16string_view RegistryText(std::span<const std::byte> data) noexcept {
    const std::size_t units = data.size() / sizeof(char16_t);
    const auto* text = reinterpret_cast<const char16_t*>(data.data());
    std::size_t length = 0;
    while (length < units && text[length] != u'\0') {
        ++length;
    }
    return {text, length};
}

ports::PortNameValue PortNameFromRegistry(DWORD type, std::span<const std::byte> data) noexcept {
    return {.text = RegistryText(data), .isString = type == REG_SZ};
}

} // namespace portmaven::win
