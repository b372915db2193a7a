// When a board arrives: its default command runs on its port once, exactly as a click on that
// command under the port would start it. Not for ports present at start (the port watcher
// reports no arrival for them), not for hidden ports, and not again for a device while what its
// previous arrival started still runs: a board that resets while its terminal is open gets no
// second terminal.
#pragma once

#include "config/command_list.h"
#include "launch/started_process.h"
#include "ports/port_notice.h"
#include "ports/serial_port.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::arrival {

// Starts a command line on a port, with what the platform can follow of the started program.
using ProcessStarter =
    std::function<launch::LaunchResult(std::u16string_view commandLine, const ports::SerialPort&)>;

class ArrivalRuns {
public:
    // The ports that came in one burst: each one whose device is set to run its default command
    // on arrival runs it, once. The notices say which commands could not start.
    std::vector<ports::PortNotice> OnPortsArrived(std::span<const ports::SerialPort> added,
                                                  const config::CommandList& commands,
                                                  const ProcessStarter& start);

private:
    // By device key: what the device's arrivals started, while it may still run.
    std::map<std::u16string, std::vector<std::unique_ptr<launch::StartedProcess>>> started_;
};

} // namespace portmaven::arrival
