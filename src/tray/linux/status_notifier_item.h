// The tray icon where a panel hosts StatusNotifierItems (KDE, GNOME's AppIndicator extension,
// XFCE): the program's own item on the session bus, whose menu is the program's DBusMenu. Its
// status stays "Active" whatever the program does; notices go their own way.
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QIcon>
#include <QString>

#include <functional>

namespace portmaven::linux_desktop {

struct StatusNotifierCalls {
    // A left click (Activate), and a panel asking the item for its menu (ContextMenu), at
    // the pointer's position on the screen.
    std::function<void(int x, int y)> activate;
    std::function<void(int x, int y)> contextMenu;
};

class StatusNotifierItem final : public QDBusVirtualObject {
public:
    // menuPath: where the item's DBusMenu is served on the same bus.
    StatusNotifierItem(QDBusConnection bus, const QIcon& icon, QString menuPath,
                       StatusNotifierCalls calls);
    ~StatusNotifierItem() override;
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;
    StatusNotifierItem(StatusNotifierItem&&) = delete;
    StatusNotifierItem& operator=(StatusNotifierItem&&) = delete;

    void SetToolTip(const QString& text);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    // Tells the panel's watcher of the item; again whenever a watcher comes (a panel restarted).
    void Register();
    QVariantMap Properties() const;

    QDBusConnection bus_;
    QString service_;
    QString menuPath_;
    QString iconName_;
    QVariant pixmaps_;
    QString toolTip_;
    StatusNotifierCalls calls_;
    QDBusServiceWatcher watcherWatch_;
};

} // namespace portmaven::linux_desktop
