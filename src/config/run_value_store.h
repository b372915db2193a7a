// One copy of the launch-at-log-on value, in one place (for all users, or for the current user
// only). The stores tell a refusal apart from other failures: a refusal is what sends the value
// to the user's own copy instead.
#pragma once

#include <string_view>

namespace portmaven::config {

enum class StoreResult {
    Done,         // written, or deleted
    Missing,      // there was nothing to delete
    AccessDenied, // the user may not change this copy
    Failed        // any other failure
};

class RunValueStore {
public:
    virtual ~RunValueStore() = default;

    // Whether the value exists, whatever its type and however long its data.
    [[nodiscard]] virtual bool Exists() = 0;
    virtual StoreResult Write(std::u16string_view data) = 0;
    virtual StoreResult Remove() = 0;

protected:
    RunValueStore() = default;
    RunValueStore(const RunValueStore&) = default;
    RunValueStore& operator=(const RunValueStore&) = default;
    RunValueStore(RunValueStore&&) = default;
    RunValueStore& operator=(RunValueStore&&) = default;
};

} // namespace portmaven::config
