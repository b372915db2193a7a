// An environment variable set (or removed) for the life of the object, then given back the
// value it had, or removed again when it had none.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace portmaven::test {

class ScopedEnv {
public:
    // Sets `name` to `value`; nullopt removes it.
    ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            old_ = old;
        }
        Put(value);
    }
    ~ScopedEnv() { Put(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ScopedEnv(ScopedEnv&&) = delete;
    ScopedEnv& operator=(ScopedEnv&&) = delete;

private:
    void Put(const std::optional<std::string>& value) const {
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

    std::string name_;
    std::optional<std::string> old_;
};

} // namespace portmaven::test
