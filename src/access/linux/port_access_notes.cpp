#include "access/linux/port_access_notes.h"

#include "access/linux/node_access.h"
#include "common/guarded.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QString>

#include <libudev.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace portmaven::linux_desktop {

namespace {

template <typename T, T* (*Release)(T*)> struct UdevDeleter {
    void operator()(T* object) const { Release(object); }
};
using UdevHandle = std::unique_ptr<udev, UdevDeleter<udev, udev_unref>>;
using UdevDeviceHandle = std::unique_ptr<udev_device, UdevDeleter<udev_device, udev_device_unref>>;

} // namespace

bool UdevTellsModemManagerToIgnore(std::u16string_view node) {
    const std::u16string_view::size_type slash = node.rfind(u'/');
    const QByteArray sysname =
        QStringView(node.substr(slash == std::u16string_view::npos ? 0 : slash + 1)).toUtf8();
    const UdevHandle context(udev_new());
    if (!context || sysname.isEmpty()) {
        return false;
    }
    const UdevDeviceHandle device(
        udev_device_new_from_subsystem_sysname(context.get(), "tty", sysname.constData()));
    if (!device) {
        return false;
    }
    const char* ignore = udev_device_get_property_value(device.get(), "ID_MM_DEVICE_IGNORE");
    return ignore != nullptr && QByteArray(ignore) == "1";
}

PortAccessNotes::PortAccessNotes(std::function<void()> changed) : changed_(std::move(changed)) {
    for (QTimer* timer : {&expiry_, &soon_}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this,
                [this] { common::RunGuarded([this] { TellChanged(); }); });
    }
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return; // no system bus: no modem manager either
    }
    const QString service = QString::fromLatin1(kModemManagerService);
    serviceWatcher_ = std::make_unique<QDBusServiceWatcher>(
        service, bus, QDBusServiceWatcher::WatchForOwnerChange);
    connect(serviceWatcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                common::RunGuarded([&] { SetServiceRunning(!newOwner.isEmpty()); });
            });
    // Asked once without waiting; the watcher above tells of every change after it.
    auto* pending = new QDBusPendingCallWatcher(
        bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), service), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                common::RunGuarded([&] {
                    const QDBusPendingReply<bool> reply = *call;
                    if (reply.isValid()) {
                        SetServiceRunning(reply.value());
                    }
                });
                call->deleteLater();
            });
}

PortAccessNotes::~PortAccessNotes() = default;

void PortAccessNotes::OnPortsArrived(std::span<const ports::SerialPort> arrived) {
    probes_.OnPortsArrived(arrived, access::ProbeClock::now());
    ScheduleExpiry();
    const bool candidate = std::ranges::any_of(
        arrived, [](const ports::SerialPort& port) { return access::IsModemCandidate(port.name); });
    if (candidate && probes_.ServiceRunning()) {
        soon_.start(0);
    }
}

void PortAccessNotes::Note(std::vector<ports::SerialPort>& ports) {
    NoteNodeAccess(ports);
    probes_.Note(ports, access::ProbeClock::now(), [](const ports::SerialPort& port) {
        return UdevTellsModemManagerToIgnore(port.name);
    });
    ScheduleExpiry();
}

void PortAccessNotes::SetServiceRunning(bool running) {
    if (running == probes_.ServiceRunning()) {
        return;
    }
    probes_.SetServiceRunning(running);
    TellChanged();
}

void PortAccessNotes::TellChanged() {
    if (changed_) {
        changed_();
    }
}

void PortAccessNotes::ScheduleExpiry() {
    const access::ProbeClock::time_point now = access::ProbeClock::now();
    if (const std::optional<access::ProbeClock::time_point> next = probes_.NextExpiry(now)) {
        expiry_.start(std::chrono::ceil<std::chrono::milliseconds>(*next - now));
    }
}

} // namespace portmaven::linux_desktop
