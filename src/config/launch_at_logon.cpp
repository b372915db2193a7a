#include "config/launch_at_logon.h"

namespace portmaven::config {

LaunchOnStartupOutcome ApplyLaunchOnStartup(RunKey& runKey, bool checked) {
    const bool present = runKey.IsLaunchOnStartupSet();
    if (checked == present) {
        return LaunchOnStartupOutcome::Unchanged;
    }
    if (checked) {
        return runKey.SetLaunchOnStartup() ? LaunchOnStartupOutcome::Written
                                           : LaunchOnStartupOutcome::WriteFailed;
    }
    return runKey.RemoveLaunchOnStartup() ? LaunchOnStartupOutcome::Removed
                                          : LaunchOnStartupOutcome::RemoveFailed;
}

} // namespace portmaven::config
