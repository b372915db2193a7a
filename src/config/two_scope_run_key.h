// Launch at log-on over two copies of the value: one for every user of the machine, written
// where the user may, and one for the current user, written when the machine-wide one is
// refused. Either copy makes the system start the program.
#pragma once

#include "config/run_key.h"
#include "config/run_value_store.h"

#include <string>
#include <string_view>
#include <utility>

namespace portmaven::config {

// The value's data: the executable's path in double quotes, so that a path with blanks is
// started as one program and not as its first word.
std::u16string QuotedRunCommand(std::u16string_view executablePath);

class TwoScopeRunKey final : public RunKey {
public:
    TwoScopeRunKey(RunValueStore& machine, RunValueStore& user, std::u16string executablePath)
        : machine_(machine), user_(user), executablePath_(std::move(executablePath)) {}

    bool IsLaunchOnStartupSet() override;
    // False when the path is unknown, or when neither copy could be written.
    bool SetLaunchOnStartup() override;
    // Removes every copy that the user may remove. False when none existed, or when a copy
    // remains (a machine-wide one that only an administrator can delete).
    bool RemoveLaunchOnStartup() override;

private:
    RunValueStore& machine_;
    RunValueStore& user_;
    std::u16string executablePath_;
};

} // namespace portmaven::config
