#include "tray/linux/dbus_menu.h"

#include "common/guarded.h"
#include "tray/linux/menu_icons.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QIcon>

#include <algorithm>
#include <utility>

namespace portmaven::linux_desktop {

// (ia{sv}av): an entry, its properties and its children, each child an entry in a variant.
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// (ia{sv}): an entry's properties.
struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};

// (ias): the properties an entry no longer has.
struct DBusMenuItemKeys {
    int id = 0;
    QStringList names;
};

// (isvu): an event on an entry, as EventGroup sends them.
struct DBusMenuEvent {
    int id = 0;
    QString name;
    QDBusVariant data;
    uint timestamp = 0;
};

// Found by the registration through the types' namespace.
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.beginArray(QMetaType::fromType<QDBusVariant>());
    for (const DBusMenuLayoutItem& child : item.children) {
        argument << QDBusVariant(QVariant::fromValue(child));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

// Panels never send a layout; the reading side exists for the type's registration.
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& item) {
    argument.beginStructure();
    argument << item.id << item.names;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& item) {
    argument.beginStructure();
    argument >> item.id >> item.names;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
    argument.beginStructure();
    argument << event.id << event.name << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
    argument.beginStructure();
    argument >> event.id >> event.name >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

namespace {

const QString kInterface = QStringLiteral("com.canonical.dbusmenu");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr uint kProtocolVersion = 3;

void RegisterTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayoutItem>();
        qDBusRegisterMetaType<DBusMenuItemProperties>();
        qDBusRegisterMetaType<QList<DBusMenuItemProperties>>();
        qDBusRegisterMetaType<DBusMenuItemKeys>();
        qDBusRegisterMetaType<QList<DBusMenuItemKeys>>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<QList<DBusMenuEvent>>();
        return true;
    }();
    (void)registered;
}

QString Text(std::u16string_view text) {
    return QStringView(text).toString();
}

// An icon's properties, worked out once per run: looking the name up in the theme and
// encoding the picture for each of hundreds of entries would hold up every fill.
const QVariantMap& IconProperties(tray::MenuIcon icon) {
    static std::map<tray::MenuIcon, QVariantMap> known;
    const auto found = known.find(icon);
    if (found != known.end()) {
        return found->second;
    }
    QVariantMap properties;
    if (const QString name = MenuIconName(icon); !name.isEmpty()) {
        properties.insert(QStringLiteral("icon-name"), name);
        // The panel looks the name up in its own theme; where ours lacks it, so may the
        // panel's, and the picture goes along.
        if (!QIcon::hasThemeIcon(name)) {
            properties.insert(QStringLiteral("icon-data"), OwnMenuIconPng(icon));
        }
    }
    return known.emplace(icon, std::move(properties)).first->second;
}

QVariantMap EntryProperties(const tray::MenuEntry& entry) {
    if (entry.kind == tray::MenuEntry::Kind::Separator) {
        return {{QStringLiteral("type"), QStringLiteral("separator")}};
    }
    QVariantMap properties = IconProperties(entry.icon);
    properties.insert(QStringLiteral("label"), DBusMenuLabel(Text(entry.text)));
    if (entry.greyed) {
        properties.insert(QStringLiteral("enabled"), false);
    }
    if (entry.kind != tray::MenuEntry::Kind::Item) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    }
    return properties;
}

// What an entry is, apart from where it sits: the same entry in the next fill has the same.
// An entry with an id of its own stays itself when only its text changes (a port's details
// line, a renamed command); ports, submenus and the hidden ports are told apart by their text.
QString EntryKey(const tray::MenuEntry& entry) {
    const QString key = QStringLiteral("%1:%2:%3:%4:")
                            .arg(static_cast<int>(entry.kind))
                            .arg(static_cast<int>(entry.action))
                            .arg(entry.id)
                            .arg(entry.command);
    const bool ownId = entry.id != 0 && entry.action != tray::MenuAction::ShowPort;
    return ownId ? key : key + Text(entry.text);
}

QVariantMap Filtered(const QVariantMap& properties, const QStringList& names) {
    if (names.isEmpty()) {
        return properties;
    }
    QVariantMap kept;
    for (const QString& name : names) {
        if (const auto found = properties.find(name); found != properties.end()) {
            kept.insert(name, *found);
        }
    }
    return kept;
}

} // namespace

QString DBusMenuLabel(const QString& text) {
    QString label;
    label.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'_') {
            label += QStringLiteral("__");
        } else if (c == u'&' && i + 1 < text.size()) {
            ++i;
            label += text.at(i) == u'&' ? QStringLiteral("&") : QStringLiteral("_") + text.at(i);
        } else {
            label += c;
        }
    }
    return label;
}

DBusMenu::DBusMenu(std::function<void()> aboutToShow)
    : aboutToShow_(std::move(aboutToShow)), bus_(QString()) {
    RegisterTypes();
    nodes_[0] =
        Node{.properties = {{QStringLiteral("children-display"), QStringLiteral("submenu")}},
             .run = {},
             .children = {}};
}

DBusMenu::~DBusMenu() {
    if (bus_.isConnected()) {
        bus_.unregisterObject(path_);
    }
}

bool DBusMenu::Export(QDBusConnection bus, const QString& path) {
    if (!bus.registerVirtualObject(path, this, QDBusConnection::SingleNode)) {
        return false;
    }
    bus_ = std::move(bus);
    path_ = path;
    return true;
}

void DBusMenu::SetModel(const tray::TrayMenuModel& model, const TrayMenuActions& actions) {
    std::map<int, Node> before = std::exchange(nodes_, {});
    nodes_[0] = Node{.properties = before[0].properties, .run = {}, .children = {}};
    Keys keys;
    AddLevel(0, QString(), model.entries, model, actions, nullptr, keys);
    // Entries that went take their ids along: a click on one of them finds nothing.
    ids_ = std::move(keys);
    const bool sameLayout = std::ranges::equal(before, nodes_, [](const auto& a, const auto& b) {
        return a.first == b.first && a.second.children == b.second.children;
    });
    if (!sameLayout) {
        ++revision_;
        ++changes_;
        wholeLayout_ = QVariant();
        if (bus_.isConnected()) {
            QDBusMessage updated =
                QDBusMessage::createSignal(path_, kInterface, QStringLiteral("LayoutUpdated"));
            updated << revision_ << 0;
            bus_.send(updated);
        }
        return;
    }
    // The same entries: a panel holding them hears only of the texts and states that changed.
    QList<DBusMenuItemProperties> updated;
    QList<DBusMenuItemKeys> removed;
    for (const auto& [id, node] : nodes_) {
        const QVariantMap& old = before.at(id).properties;
        if (old == node.properties) {
            continue;
        }
        QVariantMap changed;
        for (auto property = node.properties.begin(); property != node.properties.end();
             ++property) {
            if (old.value(property.key()) != property.value()) {
                changed.insert(property.key(), property.value());
            }
        }
        QStringList gone;
        for (auto property = old.begin(); property != old.end(); ++property) {
            if (!node.properties.contains(property.key())) {
                gone.push_back(property.key());
            }
        }
        if (!changed.isEmpty()) {
            updated.push_back({.id = id, .properties = changed});
        }
        if (!gone.isEmpty()) {
            removed.push_back({.id = id, .names = gone});
        }
    }
    if (updated.isEmpty() && removed.isEmpty()) {
        return;
    }
    ++changes_;
    wholeLayout_ = QVariant();
    if (bus_.isConnected()) {
        QDBusMessage signal =
            QDBusMessage::createSignal(path_, kInterface, QStringLiteral("ItemsPropertiesUpdated"));
        signal << QVariant::fromValue(updated) << QVariant::fromValue(removed);
        bus_.send(signal);
    }
}

void DBusMenu::AddLevel(int parent, const QString& parentKey,
                        const std::vector<tray::MenuEntry>& entries,
                        const tray::TrayMenuModel& model, const TrayMenuActions& actions,
                        const tray::MenuEntry* port, Keys& keys) {
    std::map<QString, int> seen;
    for (const tray::MenuEntry& entry : entries) {
        // Entries alike on one level (separators) are told apart by their order.
        QString key = parentKey + u'/' + EntryKey(entry);
        key += u'#' + QString::number(seen[key]++);
        switch (entry.kind) {
        case tray::MenuEntry::Kind::Separator:
        case tray::MenuEntry::Kind::Item:
            AddNode(parent, key, entry, HandlerOf(entry, port, actions), keys);
            break;
        case tray::MenuEntry::Kind::Port: {
            const int id = AddNode(parent, key, entry, {}, keys);
            AddLevel(id, key, model.commandItems, model, actions, &entry, keys);
            AddLevel(id, key + u'+', entry.children, model, actions, &entry, keys);
            break;
        }
        case tray::MenuEntry::Kind::Submenu: {
            const int id = AddNode(parent, key, entry, {}, keys);
            AddLevel(id, key, entry.children, model, actions, port, keys);
            break;
        }
        }
    }
}

int DBusMenu::AddNode(int parent, const QString& key, const tray::MenuEntry& entry,
                      std::function<void()> run, Keys& keys) {
    const auto known = ids_.find(key);
    const int id = known != ids_.end() ? known->second : nextId_++;
    keys[key] = id;
    nodes_[id] = Node{.properties = EntryProperties(entry), .run = std::move(run), .children = {}};
    nodes_[parent].children.push_back(id);
    return id;
}

QVariant DBusMenu::Layout(int id, int depth, const QStringList& names) const {
    const Node& node = nodes_.at(id);
    DBusMenuLayoutItem item{
        .id = id, .properties = Filtered(node.properties, names), .children = {}};
    if (depth != 0) {
        for (const int child : node.children) {
            item.children.push_back(Layout(child, depth - 1, names).value<DBusMenuLayoutItem>());
        }
    }
    return QVariant::fromValue(item);
}

QVariant DBusMenu::LayoutAnswer(int id, int depth, const QStringList& names) {
    // What panels ask on every showing: the whole menu with every property. It changes only
    // with the entries.
    const bool whole = id == 0 && depth < 0 && names.isEmpty();
    if (!whole) {
        return Layout(id, depth, names);
    }
    if (!wholeLayout_.isValid()) {
        wholeLayout_ = Layout(id, depth, names);
    }
    return wholeLayout_;
}

QVariantMap DBusMenu::Properties(int id, const QStringList& names) const {
    const auto node = nodes_.find(id);
    return node == nodes_.end() ? QVariantMap() : Filtered(node->second.properties, names);
}

bool DBusMenu::AboutToShow() {
    const std::uint64_t before = changes_;
    if (aboutToShow_) {
        common::RunGuarded(aboutToShow_);
    }
    return changes_ != before;
}

void DBusMenu::Activate(int id, const QString& event) {
    const auto node = nodes_.find(id);
    if (event == QStringLiteral("clicked") && node != nodes_.end() && node->second.run) {
        // A copy: the handler may fill the menu again, which replaces this node.
        const std::function<void()> run = node->second.run;
        common::RunGuarded(run);
    }
}

bool DBusMenu::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString& member = message.member();
    const QVariantList arguments = message.arguments();
    QDBusMessage reply;
    if (message.interface() == kPropertiesInterface) {
        const QVariantMap properties{{QStringLiteral("Version"), kProtocolVersion},
                                     {QStringLiteral("TextDirection"), QStringLiteral("ltr")},
                                     {QStringLiteral("Status"), QStringLiteral("normal")},
                                     {QStringLiteral("IconThemePath"), QStringList()}};
        if (member == QStringLiteral("GetAll")) {
            reply = message.createReply(QVariant::fromValue(properties));
        } else if (member == QStringLiteral("Get") && arguments.size() == 2 &&
                   properties.contains(arguments[1].toString())) {
            reply = message.createReply(
                QVariant::fromValue(QDBusVariant(properties.value(arguments[1].toString()))));
        } else {
            reply = message.createErrorReply(QDBusError::InvalidArgs, member);
        }
    } else if (member == QStringLiteral("GetLayout") && arguments.size() == 3) {
        const int parent = arguments[0].toInt();
        if (!nodes_.contains(parent)) {
            reply = message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such id"));
        } else {
            reply = message.createReply({revision_, LayoutAnswer(parent, arguments[1].toInt(),
                                                                 arguments[2].toStringList())});
        }
    } else if (member == QStringLiteral("GetGroupProperties") && arguments.size() == 2) {
        QList<DBusMenuItemProperties> answer;
        for (const int id : qdbus_cast<QList<int>>(arguments[0])) {
            if (nodes_.contains(id)) {
                answer.push_back(
                    {.id = id, .properties = Properties(id, arguments[1].toStringList())});
            }
        }
        reply = message.createReply(QVariant::fromValue(answer));
    } else if (member == QStringLiteral("GetProperty") && arguments.size() == 2) {
        reply = message.createReply(QVariant::fromValue(
            QDBusVariant(Properties(arguments[0].toInt(), {}).value(arguments[1].toString()))));
    } else if (member == QStringLiteral("Event") && arguments.size() == 4) {
        // Answered first: the panel is not kept waiting on what the click starts.
        connection.send(message.createReply());
        Activate(arguments[0].toInt(), arguments[1].toString());
        return true;
    } else if (member == QStringLiteral("EventGroup") && arguments.size() == 1) {
        const auto events = qdbus_cast<QList<DBusMenuEvent>>(arguments[0]);
        QList<int> unknown;
        for (const DBusMenuEvent& event : events) {
            if (!nodes_.contains(event.id)) {
                unknown.push_back(event.id);
            }
        }
        connection.send(message.createReply(QVariant::fromValue(unknown)));
        for (const DBusMenuEvent& event : events) {
            Activate(event.id, event.name);
        }
        return true;
    } else if (member == QStringLiteral("AboutToShow") && arguments.size() == 1) {
        reply = message.createReply(AboutToShow());
    } else if (member == QStringLiteral("AboutToShowGroup") && arguments.size() == 1) {
        const bool changed = AboutToShow();
        QList<int> updates;
        if (changed) {
            updates.push_back(0);
        }
        reply =
            message.createReply({QVariant::fromValue(updates), QVariant::fromValue(QList<int>())});
    } else {
        return false;
    }
    connection.send(reply);
    return true;
}

QString DBusMenu::introspect(const QString& /*path*/) const {
    return QStringLiteral(R"xml(<interface name="com.canonical.dbusmenu">
<property name="Version" type="u" access="read"/>
<property name="TextDirection" type="s" access="read"/>
<property name="Status" type="s" access="read"/>
<property name="IconThemePath" type="as" access="read"/>
<method name="GetLayout"><arg type="i" direction="in"/><arg type="i" direction="in"/><arg type="as" direction="in"/><arg type="u" direction="out"/><arg type="(ia{sv}av)" direction="out"/></method>
<method name="GetGroupProperties"><arg type="ai" direction="in"/><arg type="as" direction="in"/><arg type="a(ia{sv})" direction="out"/></method>
<method name="GetProperty"><arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
<method name="Event"><arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="in"/><arg type="u" direction="in"/></method>
<method name="EventGroup"><arg type="a(isvu)" direction="in"/><arg type="ai" direction="out"/></method>
<method name="AboutToShow"><arg type="i" direction="in"/><arg type="b" direction="out"/></method>
<method name="AboutToShowGroup"><arg type="ai" direction="in"/><arg type="ai" direction="out"/><arg type="ai" direction="out"/></method>
<signal name="LayoutUpdated"><arg type="u"/><arg type="i"/></signal>
<signal name="ItemsPropertiesUpdated"><arg type="a(ia{sv})"/><arg type="a(ias)"/></signal>
</interface>
)xml");
}

} // namespace portmaven::linux_desktop
