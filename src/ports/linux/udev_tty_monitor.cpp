#include "ports/linux/udev_tty_monitor.h"

#include "common/guarded.h"
#include "ports/linux/udev_handles.h"

#include <QSocketNotifier>

#include <poll.h>

#include <utility>

namespace portmaven::linux_desktop {

namespace {

// "udev" rather than "kernel": events after udev's rules ran, so that the device node and the
// model properties the enumeration reads are already in place.
constexpr char kUdevEventSource[] = "udev";
constexpr char kTtySubsystem[] = "tty";

using UdevMonitorHandle = std::unique_ptr<udev_monitor, UdevUnref<udev_monitor_unref>>;

} // namespace

struct UdevTtyMonitor::Udev {
    UdevContext context{udev_new()};
    UdevMonitorHandle monitor;
};

UdevTtyMonitor::UdevTtyMonitor(std::function<void()> onChange, QObject* parent)
    : QObject(parent), onChange_(std::move(onChange)), udev_(std::make_unique<Udev>()) {
    if (!udev_->context) {
        return;
    }
    UdevMonitorHandle monitor(
        udev_monitor_new_from_netlink(udev_->context.get(), kUdevEventSource));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), kTtySubsystem, nullptr) <
            0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
        return;
    }
    // libudev opens the socket non-blocking, so draining it below never waits.
    const int fd = udev_monitor_get_fd(monitor.get());
    if (fd < 0) {
        return;
    }
    udev_->monitor = std::move(monitor);
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this,
            [this] { common::RunGuarded([this] { OnReadable(); }); });
}

UdevTtyMonitor::~UdevTtyMonitor() = default;

bool UdevTtyMonitor::IsListening() const noexcept {
    return notifier_ != nullptr;
}

bool UdevTtyMonitor::HasUnread() const noexcept {
    if (notifier_ == nullptr) {
        return false;
    }
    pollfd socket{.fd = static_cast<int>(notifier_->socket()), .events = POLLIN, .revents = 0};
    return ::poll(&socket, 1, 0) > 0;
}

void UdevTtyMonitor::OnReadable() {
    // Every queued event is read, or the notifier would wake the loop again at once; the
    // receiver only needs to know that something changed, not what.
    bool received = false;
    while (UdevDevice device{udev_monitor_receive_device(udev_->monitor.get())}) {
        received = true;
    }
    if (received && onChange_) {
        onChange_();
    }
}

} // namespace portmaven::linux_desktop
