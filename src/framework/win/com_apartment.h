// The calling thread's membership of a single-threaded COM apartment, for as long as the object
// lives. Shell execution may hand a file to a handler that is a COM object, which needs one.
#pragma once

#include <objbase.h>

namespace portmaven::win {

class ScopedComApartment {
public:
    // OLE1 DDE is left out: nothing here speaks it, and it only slows shell execution down.
    ScopedComApartment() noexcept
        : initialised_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ScopedComApartment() {
        // Every successful initialisation, S_FALSE included, is balanced by one uninitialise.
        if (initialised_) {
            ::CoUninitialize();
        }
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;
    ScopedComApartment(ScopedComApartment&&) = delete;
    ScopedComApartment& operator=(ScopedComApartment&&) = delete;

    // False when the thread already belongs to another kind of apartment; the shell then
    // works with that one.
    [[nodiscard]] bool Initialised() const noexcept { return initialised_; }

private:
    bool initialised_;
};

} // namespace portmaven::win
