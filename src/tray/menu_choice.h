// From what the user chose in the tray menu to the command line that runs and the port it runs
// on: the one road every launch of both programs takes, with its index checks written once.
#pragma once

#include "config/command_list.h"
#include "ports/serial_port.h"
#include "tray/menu_selection.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace portmaven::tray {

// A command chosen under a port, as the platform's menu adapter reports it.
struct CommandChoice {
    // Index of the port in the ports the menu was built from; nothing when unknown.
    std::optional<std::size_t> port{};
    // Index of the command in the command list; negative when unknown.
    int command = -1;
};

// What a chosen command runs: its command line, and the port it runs on.
struct CommandLaunch {
    std::u16string commandLine;
    ports::SerialPort port;
};

// The index in the list of the command the port's device has as its default command; nothing
// when it has none, or names a command the list no longer holds (or does not list in the menu).
[[nodiscard]] std::optional<int> DefaultCommandIndex(const ports::SerialPort& port,
                                                     const config::CommandList& commands);

// The port's default command chosen on it, as a click on that command under the port would
// choose it: the port at `port` of `ports`. Names no command when the port has none.
[[nodiscard]] CommandChoice DefaultCommandChoice(std::size_t port,
                                                 std::span<const ports::SerialPort> ports,
                                                 const config::CommandList& commands);

// The remembered highlights of a menu whose ports share one command submenu (Win32): the
// highlighted port entry's position among the listed ports, and the highlighted command id.
[[nodiscard]] CommandChoice ChoiceFromSelection(MenuSelection selection,
                                                std::span<const ports::SerialPort> ports);

// The command line and port of a choice; nothing when it names no command of the list or no
// port of `ports`, which drops the choice without a word.
[[nodiscard]] std::optional<CommandLaunch>
ResolveCommandChoice(const CommandChoice& choice, std::span<const ports::SerialPort> ports,
                     const config::CommandList& commands);

enum class LaunchOutcome {
    Dropped, // the choice named nothing: nothing was started, nothing is said
    Started,
    Invalid, // the line names nothing that can be started: "Invalid command to execute"
};

// Starts a command line on a port; false when it names nothing that can be started.
using CommandStarter =
    std::function<bool(std::u16string_view commandLine, const ports::SerialPort& port)>;

// Resolves the choice and starts what it names.
LaunchOutcome LaunchCommandChoice(const CommandChoice& choice,
                                  std::span<const ports::SerialPort> ports,
                                  const config::CommandList& commands, const CommandStarter& start);

} // namespace portmaven::tray
