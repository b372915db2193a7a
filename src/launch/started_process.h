// A program started for a port, followed for as long as the platform can tell whether it still
// runs: what keeps a board's arrival from starting a second one beside it.
#pragma once

#include <memory>

namespace portmaven::launch {

class StartedProcess {
public:
    StartedProcess() = default;
    virtual ~StartedProcess() = default;
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;
    StartedProcess(StartedProcess&&) = delete;
    StartedProcess& operator=(StartedProcess&&) = delete;

    // False once the program has ended.
    [[nodiscard]] virtual bool IsRunning() = 0;
};

// What a start gave: whether the program started, and, where the system lets it be followed,
// the program itself.
struct LaunchResult {
    bool started = false;
    std::unique_ptr<StartedProcess> process{};
};

} // namespace portmaven::launch
