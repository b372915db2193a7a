// The user's switch for the notices shown when serial ports come and go. Each front-end keeps
// it in its own store; a value that is missing or cannot be read means on.
#pragma once

#include <functional>
#include <utility>

namespace portmaven::config {

class NotifySetting {
public:
    virtual ~NotifySetting() = default;

    [[nodiscard]] virtual bool IsEnabled() = 0;
    // Stores the switch; false when it could not be stored.
    virtual bool SetEnabled(bool enabled) = 0;

protected:
    NotifySetting() = default;
    NotifySetting(const NotifySetting&) = default;
    NotifySetting& operator=(const NotifySetting&) = default;
    NotifySetting(NotifySetting&&) = default;
    NotifySetting& operator=(NotifySetting&&) = default;
};

// The switch as the running program holds it: the store, and the notices that follow it. What
// the Configure dialog stores is applied at once, as it was stored, so that no caller has to
// read the switch again after the dialog.
class AppliedNotifySetting final : public NotifySetting {
public:
    AppliedNotifySetting(NotifySetting& store, std::function<void(bool)> apply)
        : store_(store), apply_(std::move(apply)) {}

    // Applies the stored switch (at start).
    void Apply() { apply_(store_.IsEnabled()); }

    [[nodiscard]] bool IsEnabled() override { return store_.IsEnabled(); }
    // Stores the switch and applies what the store then holds: a switch that could not be
    // stored leaves the notices as they were.
    bool SetEnabled(bool enabled) override {
        const bool stored = store_.SetEnabled(enabled);
        Apply();
        return stored;
    }

private:
    NotifySetting& store_;
    std::function<void(bool)> apply_;
};

} // namespace portmaven::config
