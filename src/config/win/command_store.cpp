#include "config/win/command_store.h"

#include "config/command_file.h"
#include "config/win/file_system.h"

namespace portmaven::win {

void CommandFileStore::LoadCommandList(config::CommandList& list) {
    Win32FileSystem fileSystem;
    config::LoadCommandList(fileSystem, list, config::kWindowsDefaultCommand);
}

bool CommandFileStore::SaveCommandList(const config::CommandList& list) {
    Win32FileSystem fileSystem;
    return config::SaveCommandList(fileSystem, list);
}

} // namespace portmaven::win
