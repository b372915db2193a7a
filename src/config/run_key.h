// The switch that makes the system start the program at log-on. The Configure dialog decides
// through this interface, so that its decisions can be exercised without the system's store.
#pragma once

namespace portmaven::config {

class RunKey {
public:
    virtual ~RunKey() = default;

    // Whether the value exists at all; its type, data and length are not looked at.
    [[nodiscard]] virtual bool IsLaunchOnStartupSet() = 0;
    // Writes the running executable's path; false when it could not be written.
    virtual bool SetLaunchOnStartup() = 0;
    // Deletes the value; false when it could not be deleted, or a copy that the user may not
    // delete remains (or when it did not exist).
    virtual bool RemoveLaunchOnStartup() = 0;

protected:
    RunKey() = default;
    RunKey(const RunKey&) = default;
    RunKey& operator=(const RunKey&) = default;
    RunKey(RunKey&&) = default;
    RunKey& operator=(RunKey&&) = default;
};

} // namespace portmaven::config
