#include "ports/port_notice.h"

#include "common/program_texts.h"
#include "ports/device_settings.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::ports {

namespace {

constexpr std::u16string_view kConnectedTitle = u"Serial port connected";
constexpr std::u16string_view kRemovedTitle = u"Serial port removed";
constexpr std::u16string_view kChangedTitle = u"Serial ports changed";
constexpr std::u16string_view kConnectedPrefix = u"Connected: ";
constexpr std::u16string_view kRemovedPrefix = u"Removed: ";
constexpr std::u16string_view kProgramName = common::kProgramTitle;
constexpr std::u16string_view kNameSeparator = u" \u00B7 ";

std::u16string Decimal(std::size_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// The label without the port's name it ends with: "FT232R USB UART (/dev/ttyUSB0)" gives
// "FT232R USB UART".
std::u16string_view Description(const SerialPort& port) {
    std::u16string_view label = port.label;
    const std::u16string suffix = u" (" + port.name + u")";
    if (label.ends_with(suffix)) {
        label.remove_suffix(suffix.size());
    }
    return label;
}

using LineOf = std::u16string (*)(const SerialPort&);

// Each port's line; the prefix says which way it went when a notice holds both directions.
void AppendLines(std::vector<std::u16string>& lines, std::span<const SerialPort> ports,
                 std::u16string_view prefix, LineOf lineOf) {
    for (const SerialPort& port : ports) {
        std::u16string line(prefix);
        line += lineOf(port);
        lines.push_back(std::move(line));
    }
}

std::vector<std::u16string> ChangeLines(const PortSetChange& change, LineOf lineOf) {
    const bool both = !change.added.empty() && !change.removed.empty();
    std::vector<std::u16string> lines;
    AppendLines(lines, change.added, both ? kConnectedPrefix : u"", lineOf);
    AppendLines(lines, change.removed, both ? kRemovedPrefix : u"", lineOf);
    return lines;
}

std::u16string JoinListed(const std::vector<std::u16string>& lines) {
    std::u16string text;
    const std::size_t listed = std::min(lines.size(), kNoticeListedPorts);
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0) {
            text += u'\n';
        }
        text += lines[i];
    }
    if (lines.size() > listed) {
        text += u"\nand ";
        text += Decimal(lines.size() - listed);
        text += u" more";
    }
    return text;
}

} // namespace

std::optional<PortNotice> MakePortNotice(const PortSetChange& change) {
    if (change.IsEmpty()) {
        return std::nullopt;
    }
    const bool both = !change.added.empty() && !change.removed.empty();
    const std::u16string_view title = both                   ? kChangedTitle
                                      : change.added.empty() ? kRemovedTitle
                                                             : kConnectedTitle;
    return PortNotice{.title = std::u16string(title),
                      .text = JoinListed(ChangeLines(change, ShownLabel)),
                      .namedText = JoinListed(ChangeLines(change, NamedPortLine))};
}

std::u16string NamedPortLine(const SerialPort& port) {
    const std::u16string_view description =
        port.userName.empty() ? Description(port) : std::u16string_view(port.userName);
    std::u16string line = port.name;
    if (!description.empty()) {
        line += kNameSeparator;
        line += description;
    }
    return line;
}

std::u16string MakePortTooltip(std::span<const SerialPort> ports) {
    std::u16string tip(kProgramName);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        tip += i == 0 ? u": " : u", ";
        tip += ports[i].name;
    }
    return tip;
}

} // namespace portmaven::ports
