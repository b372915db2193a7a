// The command list's persistence on Windows: "Portmaven.cfg" beside the executable.
#pragma once

namespace portmaven::win {

// Fills config::g_CommandList from the command file; the default "Connect" command when the
// file does not exist, nothing when it cannot be read.
void LoadCommandList();

// Writes config::g_CommandList to the command file, replacing it atomically; false when the
// file could not be written (the old file is then left as it was).
bool SaveCommandList();

} // namespace portmaven::win
