// The tray menu as a panel reads it over D-Bus (com.canonical.dbusmenu), made from the same
// model as the Qt menu. Texts show exactly as written: the panel's own mnemonic mark "_" is
// doubled where a text holds it. Entries that stay from one fill to the next keep their ids,
// and a click on an entry that has gone does nothing.
#pragma once

#include "tray/linux/menu_actions.h"
#include "tray/tray_menu_model.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace portmaven::linux_desktop {

// A text of the model (where "&&" shows "&" and "&x" marks x as the mnemonic) as a dbusmenu
// label: "&&" becomes "&", "&x" becomes "_x", and "_" becomes "__".
QString DBusMenuLabel(const QString& text);

class DBusMenu final : public QDBusVirtualObject {
public:
    // aboutToShow runs when a panel is about to show the menu, to bring it up to date.
    explicit DBusMenu(std::function<void()> aboutToShow);
    ~DBusMenu() override;
    DBusMenu(const DBusMenu&) = delete;
    DBusMenu& operator=(const DBusMenu&) = delete;
    DBusMenu(DBusMenu&&) = delete;
    DBusMenu& operator=(DBusMenu&&) = delete;

    // Serves the menu at path on the bus; false when the path is taken.
    bool Export(QDBusConnection bus, const QString& path);
    // Replaces the entries with the model's and tells the panels what changed: the layout when
    // entries came or went, else only the properties that differ; nothing when nothing does.
    void SetModel(const tray::TrayMenuModel& model, const TrayMenuActions& actions);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    struct Node {
        QVariantMap properties;
        std::function<void()> run;
        std::vector<int> children;
    };
    using Keys = std::map<QString, int>;

    void AddLevel(int parent, const QString& parentKey, const std::vector<tray::MenuEntry>& entries,
                  const tray::TrayMenuModel& model, const TrayMenuActions& actions,
                  const tray::MenuEntry* port, Keys& keys);
    int AddNode(int parent, const QString& key, const tray::MenuEntry& entry,
                std::function<void()> run, Keys& keys);
    QVariant Layout(int id, int depth, const QStringList& names) const;
    QVariant LayoutAnswer(int id, int depth, const QStringList& names);
    QVariantMap Properties(int id, const QStringList& names) const;
    bool AboutToShow();
    void Activate(int id, const QString& event);

    std::function<void()> aboutToShow_;
    std::map<int, Node> nodes_;
    // Each entry's id by where it sits and what it is, so that an entry that stays keeps its id.
    Keys ids_;
    int nextId_ = 1;
    uint revision_ = 0;
    // The whole layout as last given, until the entries change.
    QVariant wholeLayout_;
    // Layouts and properties changed so far: AboutToShow says whether its refresh changed any.
    std::uint64_t changes_ = 0;
    QDBusConnection bus_;
    QString path_;
};

} // namespace portmaven::linux_desktop
