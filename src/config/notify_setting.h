// The user's switch for the notices shown when serial ports come and go. Each front-end keeps
// it in its own store; a value that is missing or cannot be read means on.
#pragma once

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

} // namespace portmaven::config
