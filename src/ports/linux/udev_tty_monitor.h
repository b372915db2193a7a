// Tells when the kernel reports a tty device added, removed or changed, without polling: udev's
// netlink socket is watched by the event loop and read only when it has something to say.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace portmaven::linux_desktop {

class UdevTtyMonitor final : public QObject {
public:
    // onChange runs once for every wake-up of the event loop that found tty events, however
    // many were queued by then.
    explicit UdevTtyMonitor(std::function<void()> onChange, QObject* parent = nullptr);
    ~UdevTtyMonitor() override;
    UdevTtyMonitor(const UdevTtyMonitor&) = delete;
    UdevTtyMonitor& operator=(const UdevTtyMonitor&) = delete;
    UdevTtyMonitor(UdevTtyMonitor&&) = delete;
    UdevTtyMonitor& operator=(UdevTtyMonitor&&) = delete;

    // False when udev could not be listened to; the program then simply hears of no change.
    [[nodiscard]] bool IsListening() const noexcept;
    // Events wait on the socket that the event loop has not read yet.
    [[nodiscard]] bool HasUnread() const noexcept;

private:
    struct Udev;

    void OnReadable();

    std::function<void()> onChange_;
    std::unique_ptr<Udev> udev_;
    QSocketNotifier* notifier_ = nullptr; // owned by this QObject
};

} // namespace portmaven::linux_desktop
