// TEMPORARY placeholder until the command file lands: keeps the program linkable.
#include "config/win/command_store_win.h"

namespace portmaven::win {
void LoadCommandList() {}
bool SaveCommandList() {
    return false;
}
} // namespace portmaven::win
