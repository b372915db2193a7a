#include "config/linux/command_store_linux.h"

#include "config/command_file.h"
#include "config/command_list.h"
#include "config/linux/xdg_config.h"
#include "config/posix/file_system_posix.h"
#include "ports/linux/launch_linux.h"

#include <string>
#include <system_error>

namespace portmaven::qt {

void LoadCommandList() {
    const std::filesystem::path path = CommandFilePath();
    if (path.empty()) {
        config::g_CommandList.RemoveAllCommands();
        return;
    }
    const std::u16string defaultLine = DefaultConnectCommandLine();
    config::PosixFileSystem fileSystem;
    config::LoadCommandFile(fileSystem, path.u16string(), config::g_CommandList,
                            {.name = config::kDefaultCommandName, .commandLine = defaultLine});
}

bool SaveCommandList() {
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
    return config::SaveCommandFile(fileSystem, path.u16string(), config::g_CommandList);
}

} // namespace portmaven::qt
