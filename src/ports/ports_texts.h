// The texts of a port's own dialogs that both front-ends show, each written once.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace portmaven::ports {

// The dialog that holds what the user set for a port's device.
inline constexpr char16_t kPortSettingsTitle[] = u"Port Settings";
// The labels before the fields; "&" marks the key that reaches the field.
inline constexpr char16_t kNameLabel[] = u"&Name:";
inline constexpr char16_t kSpeedLabel[] = u"&Speed:";
inline constexpr char16_t kDefaultCommandLabel[] = u"Default &command:";
inline constexpr char16_t kNoDefaultCommandText[] = u"(None)";
inline constexpr char16_t kRunOnArrivalText[] = u"Run it when this device is plugged in";
// Beside the speed field when OK refused what it holds.
inline constexpr char16_t kSpeedOutOfRangeText[] = u"Must be from 50 to 4000000";

// The speeds the drop-down offers; any other within range can be typed.
inline constexpr std::array<unsigned, 8> kStandardBauds{9600,   19200,  38400,  57600,
                                                        115200, 230400, 460800, 921600};

// "Use for every 0403:6001 device".
inline std::u16string ForKindText(std::u16string_view vendorId, std::u16string_view productId) {
    return u"Use for every " + std::u16string(vendorId) + u":" + std::u16string(productId) +
           u" device";
}

} // namespace portmaven::ports
