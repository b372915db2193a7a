// The real POSIX file system, with the executable placed in a chosen directory, so that the
// command file lands there.
#pragma once

#include "config/posix/file_system.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace portmaven::config::testing {

class ModuleInDirectory : public PosixFileSystem {
public:
    explicit ModuleInDirectory(std::filesystem::path directory)
        : directory_(std::move(directory)) {}
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override {
        return (directory_ / "Portmaven").u16string();
    }

private:
    std::filesystem::path directory_;
};

} // namespace portmaven::config::testing
