#include "config/win/command_store_win.h"

#include "config/command_file.h"
#include "config/win/file_system_win.h"

namespace portmaven::win {

void LoadCommandList() {
    Win32FileSystem fileSystem;
    config::LoadCommandList(fileSystem, config::g_CommandList, config::kWindowsDefaultCommand);
}

bool SaveCommandList() {
    Win32FileSystem fileSystem;
    return config::SaveCommandList(fileSystem, config::g_CommandList);
}

} // namespace portmaven::win
