#include "launch/default_connect.h"

#include <array>

namespace portmaven::launch {

namespace {

struct SerialTerminal {
    std::u16string_view program;
    std::u16string_view commandLine;
};

// In order of preference; the first is also the one used when none is installed. The speed is
// the board's own, set in its Port Settings (115200 when none is set).
constexpr std::array<SerialTerminal, 4> kSerialTerminals{{
    {u"picocom", u"picocom -b %BAUD% %PORT%"},
    {u"tio", u"tio -b %BAUD% %PORT%"},
    {u"minicom", u"minicom -D %PORT% -b %BAUD%"},
    {u"screen", u"screen %PORT% %BAUD%"},
}};

constexpr std::u16string_view kTerminal = u"x-terminal-emulator -e ";

} // namespace

std::u16string DefaultConnectCommandLine(const IsOnPath& isOnPath) {
    const SerialTerminal* chosen = &kSerialTerminals.front();
    for (const SerialTerminal& terminal : kSerialTerminals) {
        if (isOnPath && isOnPath(terminal.program)) {
            chosen = &terminal;
            break;
        }
    }
    return std::u16string(kTerminal) + std::u16string(chosen->commandLine);
}

} // namespace portmaven::launch
