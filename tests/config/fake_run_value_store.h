// A copy of the launch-at-log-on value in memory, which can be told to refuse changes as the
// machine-wide registry key refuses a standard user.
#pragma once

#include "config/run_value_store.h"

#include <optional>
#include <string>

namespace portmaven::config::testing {

class FakeRunValueStore final : public RunValueStore {
public:
    bool Exists() override { return value.has_value(); }
    StoreResult Write(std::u16string_view data) override {
        if (refusal != StoreResult::Done) {
            return refusal;
        }
        value = std::u16string(data);
        return StoreResult::Done;
    }
    StoreResult Remove() override {
        if (refusal != StoreResult::Done) {
            return refusal;
        }
        if (!value) {
            return StoreResult::Missing;
        }
        value.reset();
        return StoreResult::Done;
    }

    std::optional<std::u16string> value;
    // Done: changes are allowed; otherwise what every change reports.
    StoreResult refusal = StoreResult::Done;
};

} // namespace portmaven::config::testing
