#include "tray/menu_choice.h"

#include "ports/device_settings.h"
#include "tray/menu_ids.h"

#include <algorithm>
#include <vector>

namespace portmaven::tray {

std::optional<int> DefaultCommandIndex(const ports::SerialPort& port,
                                       const config::CommandList& commands) {
    if (port.launch.defaultCommand.empty()) {
        return std::nullopt;
    }
    const int listed = std::min(commands.GetCount(), kMaxCommandItems);
    for (int i = 0; i < listed; ++i) {
        if (config::FieldText(commands.At(i).szName) == port.launch.defaultCommand) {
            return i;
        }
    }
    return std::nullopt;
}

CommandChoice DefaultCommandChoice(std::size_t port, std::span<const ports::SerialPort> ports,
                                   const config::CommandList& commands) {
    if (port >= ports.size()) {
        return {};
    }
    return {.port = port, .command = DefaultCommandIndex(ports[port], commands).value_or(-1)};
}

CommandChoice ChoiceFromSelection(MenuSelection selection,
                                  std::span<const ports::SerialPort> ports) {
    // The command message's own id is not looked at: all ports share one submenu, so only the
    // remembered highlights say which command was chosen under which port.
    CommandChoice choice{.port = std::nullopt, .command = selection.commandId - kFirstCommandId};
    const std::vector<std::size_t> listed = ports::ShownPortIndices(ports);
    if (selection.port >= 0 && static_cast<std::size_t>(selection.port) < listed.size()) {
        choice.port = listed[static_cast<std::size_t>(selection.port)];
    }
    return choice;
}

std::optional<CommandLaunch> ResolveCommandChoice(const CommandChoice& choice,
                                                  std::span<const ports::SerialPort> ports,
                                                  const config::CommandList& commands) {
    if (choice.command < 0 || choice.command >= commands.GetCount() || !choice.port ||
        *choice.port >= ports.size()) {
        return std::nullopt;
    }
    return CommandLaunch{
        .commandLine = std::u16string(config::FieldText(commands.At(choice.command).szCommand)),
        .port = ports[*choice.port]};
}

LaunchOutcome LaunchCommandChoice(const CommandChoice& choice,
                                  std::span<const ports::SerialPort> ports,
                                  const config::CommandList& commands,
                                  const CommandStarter& start) {
    const std::optional<CommandLaunch> launch = ResolveCommandChoice(choice, ports, commands);
    if (!launch) {
        return LaunchOutcome::Dropped;
    }
    return start(launch->commandLine, launch->port) ? LaunchOutcome::Started
                                                    : LaunchOutcome::Invalid;
}

} // namespace portmaven::tray
