// The ports' part of the tray menu's work, for whichever window hosts the menu: the labels of
// the present ports, and the launch of the command chosen under one of them. The host keeps
// the labels and the selection; these functions only read and fill what they are given.
#pragma once

#include "config/command_list.h"
#include "ports/menu_selection.h"

#include <string>
#include <vector>

namespace portmaven::win {

// Replaces the labels with one per present serial port, "%s (COM%d)", in enumeration order;
// false, labels untouched, when the ports cannot be enumerated.
bool RefreshPortLabels(std::vector<std::u16string>& portLabels);

// Starts the command last highlighted under the port entry last highlighted. Does nothing when
// either is unknown or out of range; tells the user "Invalid command to execute" when the
// command cannot be started.
void LaunchSelectedCommand(const config::CommandList& commands,
                           const std::vector<std::u16string>& portLabels,
                           ports::MenuSelection selection);

} // namespace portmaven::win
