// Owners for libudev's reference-counted handles.
#pragma once

#include <libudev.h>

#include <memory>

namespace portmaven::linux_desktop {

template <auto Unref> struct UdevUnref {
    template <typename Handle> void operator()(Handle* handle) const noexcept { Unref(handle); }
};

using UdevContext = std::unique_ptr<udev, UdevUnref<udev_unref>>;
using UdevEnumerate = std::unique_ptr<udev_enumerate, UdevUnref<udev_enumerate_unref>>;
using UdevDevice = std::unique_ptr<udev_device, UdevUnref<udev_device_unref>>;

} // namespace portmaven::linux_desktop
