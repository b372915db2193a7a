// The process-wide command list and its file in the user's configuration folder.
#pragma once

namespace portmaven::qt {

// Fills the command list from the file; with no file, the one default "Connect" command that
// opens a terminal on the port.
void LoadCommandList();

// Writes the command list to the file, creating its folder the first time; false when
// nothing was written.
bool SaveCommandList();

} // namespace portmaven::qt
