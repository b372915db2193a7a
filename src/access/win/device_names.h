// The names a port's device goes by in the handles that hold it open: the kernel's name of the
// device ("\Device\Serial0", "\Device\VCP0") and, under Wine, the Unix device file the port's
// entry in the prefix's dosdevices folder leads to ("\??\Z:\dev\ttyUSB0"), which is the name
// Wine gives an open port's handle. Found without opening the port: opening one can reset the
// board behind it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace portmaven::win {

// Each to be compared with a handle's object name without regard to case; empty when the
// port's device is not known.
std::vector<std::wstring> DeviceNamesOf(std::wstring_view portName);

} // namespace portmaven::win
