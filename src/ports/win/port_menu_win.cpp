#include "ports/win/port_menu_win.h"

#include "ports/menu_ids.h"
#include "ports/port_name.h"
#include "ports/win/launch_win.h"
#include "ports/win/serial_port_enum_win.h"
#include "support/win/application.h"

#include <cstdint>

namespace portmaven::win {

bool RefreshPortLabels(std::vector<std::u16string>& portLabels) {
    std::vector<std::uint32_t> numbers;
    std::vector<std::u16string> descriptions;
    if (!EnumerateSerialPorts(numbers, descriptions)) {
        return false;
    }
    portLabels = ports::MakePortLabels(numbers, descriptions);
    return true;
}

void LaunchSelectedCommand(const config::CommandList& commands,
                           const std::vector<std::u16string>& portLabels,
                           ports::MenuSelection selection) {
    // The command message's own id is not looked at: all ports share one submenu, so only the
    // remembered highlights say which command was chosen under which port.
    const int index = selection.commandId - ports::kFirstCommandId;
    if (index < 0 || index >= commands.GetCount()) {
        return;
    }
    const std::u16string commandLine(config::FieldText(commands.At(index).szCommand));
    if (selection.port < 0 || static_cast<std::size_t>(selection.port) >= portLabels.size()) {
        return;
    }
    if (!LaunchCommandForPort(commandLine, portLabels[static_cast<std::size_t>(selection.port)])) {
        AppMessageBox(L"Invalid command to execute", MB_OK | MB_ICONERROR);
    }
}

} // namespace portmaven::win
