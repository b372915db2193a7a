// The command list's file in the user's configuration folder.
#pragma once

#include "config/configure_presenter.h"

#include <string_view>

namespace portmaven::linux_desktop {

// Fills the list from the file; with no file, the one default "Connect" command with this
// command line (the host knows which terminal programs are installed).
void LoadCommandList(config::CommandList& list, std::u16string_view defaultCommandLine);

// Writes the list to the file, creating its folder the first time; false when nothing was
// written.
bool SaveCommandList(const config::CommandList& list);

// The Configure dialog's way to the file.
class CommandFileSaver final : public config::CommandListSaver {
public:
    bool SaveCommandList(const config::CommandList& list) override;
};

} // namespace portmaven::linux_desktop
