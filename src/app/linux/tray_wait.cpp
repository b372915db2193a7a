#include "app/linux/tray_wait.h"

#include "common/guarded.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace portmaven::linux_desktop {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr std::chrono::milliseconds kPollInterval{500};

struct FreeReply {
    void operator()(void* reply) const noexcept { std::free(reply); }
};

bool WatcherPresent() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kWatcherService);
    return registered.isValid() && registered.value();
}

bool IsWayland() {
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

// The screen number of $DISPLAY (":1.0" names screen 0 of display 1), 0 when it names none.
int DefaultScreenNumber() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
    if (dot < 0) {
        return 0;
    }
    bool ok = false;
    const int screen = display.mid(dot + 1).toInt(&ok);
    return ok ? screen : 0;
}

} // namespace

bool StatusNotifierHostPresent() {
    if (!WatcherPresent()) {
        return false;
    }
    QDBusInterface properties(kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                              QStringLiteral("org.freedesktop.DBus.Properties"),
                              QDBusConnection::sessionBus());
    const QDBusReply<QDBusVariant> reply = properties.call(
        QStringLiteral("Get"), kWatcherService, QStringLiteral("IsStatusNotifierHostRegistered"));
    return reply.isValid() && reply.value().variant().toBool();
}

bool XEmbedTrayPresent() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return false;
    }
    xcb_connection_t* connection = x11->connection();
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreenNumber());
    // Only if it exists: a selection nobody ever named has no owner either.
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> atom(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.constData()),
        nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        return false;
    }
    const std::unique_ptr<xcb_get_selection_owner_reply_t, FreeReply> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                      nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

TrayKind CurrentTrayKind() {
    return IsWayland() || StatusNotifierHostPresent() ? TrayKind::StatusNotifier : TrayKind::XEmbed;
}

TrayWaiter::TrayWaiter(std::chrono::milliseconds limit, std::function<void()> ready)
    : ready_(std::move(ready)), busWatcher_(kWatcherService, QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForRegistration) {
    QObject::connect(&busWatcher_, &QDBusServiceWatcher::serviceRegistered, &poll_,
                     [this] { common::RunGuarded([this] { Check(); }); });
    QObject::connect(&poll_, &QTimer::timeout, &poll_,
                     [this] { common::RunGuarded([this] { Check(); }); });
    QObject::connect(&limit_, &QTimer::timeout, &limit_,
                     [this] { common::RunGuarded([this] { Finish(); }); });
    limit_.setSingleShot(true);
    limit_.start(limit);
    poll_.start(kPollInterval);
}

TrayWaiter::~TrayWaiter() = default;

void TrayWaiter::Check() {
    if (StatusNotifierHostPresent() || (!IsWayland() && XEmbedTrayPresent())) {
        Finish();
    }
}

void TrayWaiter::Finish() {
    poll_.stop();
    limit_.stop();
    busWatcher_.setWatchedServices({});
    if (std::function<void()> ready = std::exchange(ready_, {})) {
        ready();
    }
}

} // namespace portmaven::linux_desktop
