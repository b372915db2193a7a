#include "ports/port_name.h"

#include "common/text.h"

#include <limits>
#include <utility>

namespace portmaven::ports {

namespace {

constexpr std::u16string_view kComPrefix = u"COM";
constexpr std::u16string_view kLabelMarker = u"(COM";

} // namespace

bool IsAllDigits(std::u16string_view text) noexcept {
    if (text.empty()) {
        return false;
    }
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

std::optional<std::uint32_t> ParsePortNumber(std::u16string_view digits) noexcept {
    if (!IsAllDigits(digits)) {
        return std::nullopt;
    }
    constexpr std::uint32_t kMax = std::numeric_limits<std::int32_t>::max();
    std::uint32_t value = 0;
    for (char16_t c : digits) {
        const auto digit = static_cast<std::uint32_t>(c - u'0');
        if (value > (kMax - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::uint32_t> PortNumberFromValue(PortNameValue value) noexcept {
    if (!value.isString) {
        return std::nullopt;
    }
    const std::u16string_view text = value.text;
    if (text.size() <= kComPrefix.size() ||
        !common::StartsWithIgnoringAsciiCase(text, kComPrefix)) {
        return std::nullopt;
    }
    return ParsePortNumber(text.substr(kComPrefix.size()));
}

std::u16string FormatPortLabel(std::u16string_view description, std::uint32_t number) {
    std::u16string label(description);
    label += u" ";
    label += kLabelMarker;
    label += common::DecimalText(number);
    label += u")";
    return label;
}

std::vector<std::u16string> MakePortLabels(std::span<const std::uint32_t> numbers,
                                           std::span<const std::u16string> descriptions) {
    std::vector<std::u16string> labels;
    labels.reserve(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        labels.push_back(FormatPortLabel(
            i < descriptions.size() ? std::u16string_view(descriptions[i]) : u"", numbers[i]));
    }
    return labels;
}

std::u16string FormatPortName(std::uint32_t number) {
    std::u16string name(kComPrefix);
    name += common::DecimalText(number);
    return name;
}

std::vector<SerialPort> MakeSerialPorts(std::span<const std::uint32_t> numbers,
                                        std::span<const std::u16string> descriptions) {
    std::vector<std::u16string> labels = MakePortLabels(numbers, descriptions);
    std::vector<SerialPort> ports;
    ports.reserve(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        std::u16string number;
        number += common::DecimalText(numbers[i]);
        ports.push_back({.name = FormatPortName(numbers[i]),
                         .number = std::move(number),
                         .label = std::move(labels[i])});
    }
    return ports;
}

std::optional<std::u16string> PortTextFromLabel(std::u16string_view label) {
    while (!label.empty() && label.back() == u')') {
        label.remove_suffix(1);
    }
    const std::size_t marker = label.rfind(kLabelMarker);
    // A label always starts with its description and a blank, so the marker is never first.
    if (marker == std::u16string_view::npos || marker == 0) {
        return std::nullopt;
    }
    const std::u16string_view digits = label.substr(marker + kLabelMarker.size());
    if (!IsAllDigits(digits)) {
        return std::nullopt;
    }
    return std::u16string(digits);
}

} // namespace portmaven::ports
