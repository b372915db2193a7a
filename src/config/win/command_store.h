// The command list's persistence on Windows: "Portmaven.cfg" beside the executable.
#pragma once

#include "config/command_list.h"
#include "config/configure_presenter.h"

namespace portmaven::win {

// Fills the list from the command file; the default "Connect" command when the file does not
// exist, nothing when it cannot be read.
void LoadCommandList(config::CommandList& list);

// Writes the list to the command file, replacing it atomically; false when the file could not
// be written (the old file is then left as it was).
bool SaveCommandList(const config::CommandList& list);

// The Configure dialog's saver: the list it commits goes to the command file.
class CommandFileSaver final : public config::CommandListSaver {
public:
    bool SaveCommandList(const config::CommandList& list) override;
};

} // namespace portmaven::win
