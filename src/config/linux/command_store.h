// The command list's file in the user's configuration folder.
#pragma once

#include "config/command_list_owner.h"

#include <string>
#include <string_view>
#include <utility>

namespace portmaven::linux_desktop {

// Fills the list from the file; with no file, the one default "Connect" command with this
// command line (the host knows which terminal programs are installed).
void LoadCommandList(config::CommandList& list, std::u16string_view defaultCommandLine);

// Writes the list to the file, creating its folder the first time; false when nothing was
// written.
bool SaveCommandList(const config::CommandList& list);

// The file as the program's store: the one the command list is read from at start and
// written to by Close and Exit.
class CommandFileStore final : public config::CommandStore {
public:
    // The command line of the default "Connect" command, for a list that has no file yet.
    explicit CommandFileStore(std::u16string defaultCommandLine = {})
        : defaultCommandLine_(std::move(defaultCommandLine)) {}

    void LoadCommandList(config::CommandList& list) override;
    bool SaveCommandList(const config::CommandList& list) override;

private:
    std::u16string defaultCommandLine_;
};

} // namespace portmaven::linux_desktop
