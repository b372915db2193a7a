// The command list's store on Windows: "Portmaven.cfg" beside the executable.
#pragma once

#include "config/command_list.h"
#include "config/command_list_owner.h"

namespace portmaven::win {

class CommandFileStore final : public config::CommandStore {
public:
    // The file's records; the default "Connect" command when the file does not exist, nothing
    // when it cannot be read.
    void LoadCommandList(config::CommandList& list) override;
    // Replaces the file atomically; false when it could not be written (the old file is then
    // left as it was).
    bool SaveCommandList(const config::CommandList& list) override;
};

} // namespace portmaven::win
