// Entry points that a window system or the OS calls (toolkit slots, callbacks) must not let an
// exception through: there is nobody above them to handle it, and the program carries on.
#pragma once

namespace portmaven::common {

template <typename Body> void RunGuarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        // Dropped on purpose: the action the user asked for is abandoned, the program goes on.
    }
}

} // namespace portmaven::common
