#include "launch/command_line.h"

#include "common/text.h"

#include <algorithm>
#include <initializer_list>

namespace portmaven::launch {

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';

ProgramAndParameters Make(std::u16string_view program, std::u16string_view parameters) {
    return {std::u16string(program), std::u16string(common::TrimWhiteSpace(parameters))};
}

ProgramAndParameters SplitQuoted(std::u16string_view commandLine) {
    const std::u16string_view rest = commandLine.substr(1);
    const std::size_t closing = rest.find(kQuote);
    if (closing == std::u16string_view::npos) {
        // An unterminated quote runs to the end of the line, as the system reads it.
        return Make(common::TrimTrailingWhiteSpace(rest), u"");
    }
    return Make(rest.substr(0, closing), rest.substr(closing + 1));
}

ProgramAndParameters SplitAtLastBlank(std::u16string_view commandLine) {
    const std::size_t blank = commandLine.rfind(kBlank);
    if (blank == std::u16string_view::npos || blank == 0) {
        return {};
    }
    return Make(common::TrimTrailingWhiteSpace(commandLine.substr(0, blank)),
                commandLine.substr(blank + 1));
}

struct Token {
    std::u16string_view name;
    std::u16string_view value;
};

// One pass over the line: at each position the token that starts there (none is a prefix of
// another, so at most one does) is replaced, and scanning goes on after it.
std::u16string ReplaceTokens(std::u16string_view commandLine, std::initializer_list<Token> tokens) {
    std::u16string result;
    result.reserve(commandLine.size());
    std::size_t at = 0;
    while (at < commandLine.size()) {
        const std::u16string_view rest = commandLine.substr(at);
        const auto token = std::find_if(tokens.begin(), tokens.end(), [rest](const Token& t) {
            return rest.starts_with(t.name);
        });
        if (token == tokens.end()) {
            result.push_back(commandLine[at]);
            ++at;
        } else {
            result.append(token->value);
            at += token->name.size();
        }
    }
    return result;
}

} // namespace

std::u16string ReplacePortNumber(std::u16string_view commandLine, std::u16string_view portText) {
    return ReplaceTokens(commandLine, {{kPortNumberToken, portText}});
}

std::optional<std::u16string> SubstituteCommandLine(std::u16string_view commandLine,
                                                    const ports::SerialPort& port) {
    const std::u16string baud = common::DecimalText(port.launch.baud);
    std::u16string line = ReplaceTokens(commandLine, {{kPortToken, port.name},
                                                      {kPortNumberToken, port.number},
                                                      {kBaudToken, baud},
                                                      {kSerialToken, port.device.serial},
                                                      {kVendorIdToken, port.device.vendorId},
                                                      {kProductIdToken, port.device.productId}});
    if (line.size() >= kLaunchBufferUnits) {
        return std::nullopt;
    }
    return line;
}

ProgramAndParameters SplitCommandLine(std::u16string_view commandLine,
                                      const ProgramExists& programExists) {
    if (!commandLine.empty() && commandLine.front() == kQuote) {
        return SplitQuoted(commandLine);
    }
    if (commandLine.find(kBlank) == std::u16string_view::npos) {
        return Make(commandLine, u"");
    }
    // Shortest first, like the system's own reading of an unquoted path with blanks: the
    // prefixes that end at a blank, then the whole line.
    for (std::size_t end = commandLine.find(kBlank);; end = commandLine.find(kBlank, end + 1)) {
        const bool wholeLine = end == std::u16string_view::npos;
        const std::u16string_view candidate =
            common::TrimTrailingWhiteSpace(commandLine.substr(0, end));
        if (!candidate.empty() && programExists && programExists(candidate)) {
            return Make(candidate, wholeLine ? u"" : commandLine.substr(end + 1));
        }
        if (wholeLine) {
            break;
        }
    }
    return SplitAtLastBlank(commandLine);
}

std::optional<ProgramAndParameters> PlanLaunch(std::u16string_view commandLine,
                                               const ports::SerialPort& port,
                                               const ProgramExists& programExists) {
    if (port.name.empty()) {
        return std::nullopt;
    }
    const std::optional<std::u16string> line = SubstituteCommandLine(commandLine, port);
    if (!line) {
        return std::nullopt;
    }
    ProgramAndParameters split = SplitCommandLine(*line, programExists);
    if (split.program.empty()) {
        return std::nullopt;
    }
    return split;
}

} // namespace portmaven::launch
