#include "ports/tty_port.h"

#include <algorithm>

namespace portmaven::ports {

namespace {

bool IsDigit(char16_t c) noexcept {
    return c >= u'0' && c <= u'9';
}

bool IsSet(const std::optional<std::u16string>& value) noexcept {
    return value && !value->empty();
}

std::size_t DigitRunEnd(std::u16string_view text, std::size_t from) noexcept {
    while (from < text.size() && IsDigit(text[from])) {
        ++from;
    }
    return from;
}

// Compares two digit runs by value without converting them, so that runs of any length work.
int CompareNumbers(std::u16string_view a, std::u16string_view b) noexcept {
    const auto withoutLeadingZeros = [](std::u16string_view digits) {
        const std::size_t first = digits.find_first_not_of(u'0');
        return first == std::u16string_view::npos ? std::u16string_view() : digits.substr(first);
    };
    a = withoutLeadingZeros(a);
    b = withoutLeadingZeros(b);
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b);
}

std::u16string_view DeviceNameOfNode(std::u16string_view deviceNode) noexcept {
    const std::size_t slash = deviceNode.rfind(u'/');
    return slash == std::u16string_view::npos ? deviceNode : deviceNode.substr(slash + 1);
}

} // namespace

std::u16string ChooseTtyPortName(const TtyNameSources& sources) {
    if (IsSet(sources.modelFromDatabase)) {
        return *sources.modelFromDatabase;
    }
    if (IsSet(sources.model)) {
        std::u16string name = *sources.model;
        std::replace(name.begin(), name.end(), u'_', u' ');
        return name;
    }
    if (IsSet(sources.driver)) {
        return *sources.driver;
    }
    return sources.deviceName;
}

std::u16string TrailingDigits(std::u16string_view deviceName) {
    std::size_t start = deviceName.size();
    while (start > 0 && IsDigit(deviceName[start - 1])) {
        --start;
    }
    return std::u16string(deviceName.substr(start));
}

SerialPort MakeTtyPort(const TtyNameSources& sources, std::u16string_view deviceNode) {
    SerialPort port;
    port.name = deviceNode;
    port.number = TrailingDigits(sources.deviceName);
    port.label = ChooseTtyPortName(sources) + u" (" + port.name + u")";
    return port;
}

bool NaturalLess(std::u16string_view a, std::u16string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t aEnd = DigitRunEnd(a, i);
            const std::size_t bEnd = DigitRunEnd(b, j);
            const int order = CompareNumbers(a.substr(i, aEnd - i), b.substr(j, bEnd - j));
            if (order != 0) {
                return order < 0;
            }
            i = aEnd;
            j = bEnd;
        } else if (a[i] != b[j]) {
            return a[i] < b[j];
        } else {
            ++i;
            ++j;
        }
    }
    if (i < a.size() || j < b.size()) {
        return j < b.size(); // a is a prefix of b (in this reading)
    }
    // Equal in natural order ("tty01" and "tty1"): plain order keeps the sort strict.
    return a < b;
}

void SortTtyPorts(std::vector<SerialPort>& ports) {
    std::stable_sort(ports.begin(), ports.end(), [](const SerialPort& a, const SerialPort& b) {
        return NaturalLess(DeviceNameOfNode(a.name), DeviceNameOfNode(b.name));
    });
}

} // namespace portmaven::ports
