#include "config/linux/command_store.h"

#include "config/command_file.h"
#include "config/command_list.h"
#include "config/linux/xdg_config.h"
#include "config/posix/file_system.h"

#include <string>
#include <system_error>

namespace portmaven::linux_desktop {

void LoadCommandList(config::CommandList& list, std::u16string_view defaultCommandLine) {
    const std::filesystem::path path = CommandFilePath();
    if (path.empty()) {
        list.RemoveAllCommands();
        return;
    }
    config::PosixFileSystem fileSystem;
    config::LoadCommandFile(
        fileSystem, path.u16string(), list,
        {.name = config::kDefaultCommandName, .commandLine = defaultCommandLine});
}

bool SaveCommandList(const config::CommandList& list) {
    const std::filesystem::path path = CommandFilePath();
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        return false;
    }
    config::PosixFileSystem fileSystem;
    return config::SaveCommandFile(fileSystem, path.u16string(), list);
}

void CommandFileStore::LoadCommandList(config::CommandList& list) {
    linux_desktop::LoadCommandList(list, defaultCommandLine_);
}

bool CommandFileStore::SaveCommandList(const config::CommandList& list) {
    return linux_desktop::SaveCommandList(list);
}

} // namespace portmaven::linux_desktop
