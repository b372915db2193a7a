#include "config/two_scope_run_key.h"

namespace portmaven::config {

std::u16string QuotedRunCommand(std::u16string_view executablePath) {
    std::u16string command;
    command.reserve(executablePath.size() + 2);
    command += u'"';
    command += executablePath;
    command += u'"';
    return command;
}

bool TwoScopeRunKey::IsLaunchOnStartupSet() {
    return machine_.Exists() || user_.Exists();
}

bool TwoScopeRunKey::SetLaunchOnStartup() {
    if (executablePath_.empty()) {
        return false;
    }
    const std::u16string command = QuotedRunCommand(executablePath_);
    switch (machine_.Write(command)) {
    case StoreResult::Done:
        return true;
    case StoreResult::AccessDenied:
        // A standard user, or an administrator without elevation: the user's own copy starts
        // the program at this user's log-on, which is what the user asked for.
        return user_.Write(command) == StoreResult::Done;
    case StoreResult::Missing:
    case StoreResult::Failed:
        break;
    }
    return false;
}

bool TwoScopeRunKey::RemoveLaunchOnStartup() {
    // Every copy is tried: one left behind would still start the program. A copy that is not
    // there is not touched, since the machine-wide key refuses even that to a standard user.
    bool removed = false;
    bool remains = false;
    for (RunValueStore* store : {&user_, &machine_}) {
        if (!store->Exists()) {
            continue;
        }
        switch (store->Remove()) {
        case StoreResult::Done:
            removed = true;
            break;
        case StoreResult::Missing: // gone meanwhile
            break;
        case StoreResult::AccessDenied:
        case StoreResult::Failed:
            remains = true;
            break;
        }
    }
    return removed && !remains;
}

} // namespace portmaven::config
