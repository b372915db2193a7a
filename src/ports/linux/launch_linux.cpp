#include "ports/linux/launch_linux.h"

namespace portmaven::qt {

bool LaunchCommandForPort(std::u16string_view, const ports::SerialPort&) {
    return false;
}

std::u16string DefaultConnectCommandLine() {
    return u"x-terminal-emulator -e picocom -b 115200 %PORT%";
}

} // namespace portmaven::qt
