// A click on a port notice: when the notice told of one board's arrival, the command its device
// has as default runs on that board's port, as a click on that command in the menu would run it.
#pragma once

#include "config/command_list.h"
#include "ports/port_notice.h"
#include "ports/serial_port.h"
#include "tray/menu_choice.h"

#include <optional>
#include <span>

namespace portmaven::arrival {

// The choice a click on the notice makes among the ports present now: the noticed board's port,
// with its default command as the user has set it now. Names no port when the notice was about
// anything else or the board has gone since (a click long after), and no command when its
// device has no default command; such a click does what a click on the tray icon does.
[[nodiscard]] tray::CommandChoice NoticeClickChoice(const std::optional<ports::PortNotice>& notice,
                                                    std::span<const ports::SerialPort> present,
                                                    const config::CommandList& commands);

} // namespace portmaven::arrival
