// Registry string values as the bytes the registry hands back, decoded into text.
#pragma once

#include "ports/port_name.h"

#include <windows.h>

#include <cstddef>
#include <span>
#include <string_view>

namespace portmaven::win {

// The text of a UTF-16 registry string: up to its first NUL, never beyond the data (an odd
// trailing byte is not a whole code unit).
std::u16string_view RegistryText(std::span<const std::byte> data) noexcept;

// A "PortName" value of `type` read as `data`: its text, and whether it is a REG_SZ.
ports::PortNameValue PortNameFromRegistry(DWORD type, std::span<const std::byte> data) noexcept;

} // namespace portmaven::win
