#include "config/command_list_owner.h"

namespace portmaven::config {

void CommandListOwner::LoadOnce() {
    if (!loaded_) {
        store_.LoadCommandList(list_);
        loaded_ = true;
    }
}

bool CommandListOwner::SaveAtExit() {
    return loaded_ && store_.SaveCommandList(list_);
}

} // namespace portmaven::config
