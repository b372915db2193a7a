// Who holds serial ports open, found without opening the ports (opening one can reset the board
// behind it) and without following any open file to where it lives (a file on a dead network
// mount would hang the look): one pass over the descriptors of the processes under /proc,
// reading only each descriptor's link text.
#pragma once

#include "access/holder_lookup.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace portmaven::linux_desktop {

// The holders of each of the ports named (their device nodes, "/dev/ttyUSB0"), named by the
// process's command name and id ("picocom (1234)"). Processes whose descriptors cannot be read
// (other users', or gone meanwhile) are passed by. A look still going at `deadline` stops and
// says it is incomplete.
[[nodiscard]] access::HolderScanAnswer ScanPortHolders(std::uint64_t scan,
                                                       std::span<const std::u16string> portNames,
                                                       access::ScanClock::time_point deadline,
                                                       const std::filesystem::path& proc = "/proc");

} // namespace portmaven::linux_desktop
