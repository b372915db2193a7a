// The command list's file in the user's configuration folder.
#pragma once

#include "config/configure_presenter.h"

namespace portmaven::qt {

// Fills the list from the file; with no file, the one default "Connect" command that opens a
// terminal on the port.
void LoadCommandList(config::CommandList& list);

// Writes the list to the file, creating its folder the first time; false when nothing was
// written.
bool SaveCommandList(const config::CommandList& list);

// The Configure dialog's way to the file.
class CommandFileSaver final : public config::CommandListSaver {
public:
    bool SaveCommandList(const config::CommandList& list) override;
};

} // namespace portmaven::qt
