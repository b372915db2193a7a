// What leaving the Configure dialog with Close does to the Run value, given the check box.
#pragma once

#include "config/run_key.h"

namespace portmaven::config {

enum class LaunchOnStartupOutcome {
    Unchanged,   // the box agrees with the registry (an existing value is never refreshed)
    Written,     // box checked, value was missing and has been written
    WriteFailed, // box checked, value missing and could not be written: the user is told
    Removed,     // box unchecked, the value existed and is gone
    RemoveFailed // box unchecked, a copy of the value remains: the user is told
};

// The value is queried again here rather than trusted from when the dialog opened: another
// program may have changed it meanwhile.
LaunchOnStartupOutcome ApplyLaunchOnStartup(RunKey& runKey, bool checked);

} // namespace portmaven::config
