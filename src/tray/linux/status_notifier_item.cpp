#include "tray/linux/status_notifier_item.h"

#include "common/guarded.h"
#include "common/program_texts.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QImage>
#include <QtEndian>

#include <utility>

namespace portmaven::linux_desktop {

// (iiay): a picture of the icon, ARGB32 in network byte order.
struct StatusNotifierPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;
};

// (sa(iiay)ss): icon name, pictures, title and text of the tooltip.
struct StatusNotifierToolTip {
    QString iconName;
    QList<StatusNotifierPixmap> pixmaps;
    QString title;
    QString text;
};

// Found by the registration through the types' namespace.
QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.argb;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.argb;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& tip) {
    argument.beginStructure();
    argument << tip.iconName << tip.pixmaps << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& tip) {
    argument.beginStructure();
    argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

namespace {

const QString kInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPath = QStringLiteral("/StatusNotifierItem");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kIconName = QStringLiteral("portmaven");

void RegisterTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierPixmap>();
        qDBusRegisterMetaType<QList<StatusNotifierPixmap>>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        return true;
    }();
    (void)registered;
}

// The icon's pictures at the sizes panels draw, for a panel whose theme lacks the name.
QList<StatusNotifierPixmap> Pixmaps(const QIcon& icon) {
    QList<StatusNotifierPixmap> pixmaps;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        const QImage image =
            icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            continue;
        }
        QByteArray argb(static_cast<qsizetype>(image.width()) * image.height() * 4, '\0');
        auto* out = reinterpret_cast<uchar*>(argb.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, out += 4) {
                qToBigEndian(row[x], out);
            }
        }
        pixmaps.push_back({.width = image.width(), .height = image.height(), .argb = argb});
    }
    return pixmaps;
}

} // namespace

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, const QIcon& icon, QString menuPath,
                                       StatusNotifierCalls calls)
    : bus_(std::move(bus)), service_(QStringLiteral("org.kde.StatusNotifierItem-%1-1")
                                         .arg(QCoreApplication::applicationPid())),
      menuPath_(std::move(menuPath)),
      iconName_(QIcon::hasThemeIcon(kIconName) ? kIconName : QString()),
      toolTip_(QStringView(common::kProgramTitle).toString()), calls_(std::move(calls)),
      watcherWatch_(kWatcher, bus, QDBusServiceWatcher::WatchForRegistration) {
    RegisterTypes();
    pixmaps_ = QVariant::fromValue(Pixmaps(icon));
    bus_.registerService(service_);
    bus_.registerVirtualObject(kPath, this, QDBusConnection::SingleNode);
    QObject::connect(&watcherWatch_, &QDBusServiceWatcher::serviceRegistered, &watcherWatch_,
                     [this] { common::RunGuarded([this] { Register(); }); });
    Register();
}

StatusNotifierItem::~StatusNotifierItem() {
    bus_.unregisterObject(kPath);
    bus_.unregisterService(service_);
}

void StatusNotifierItem::Register() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << service_;
    bus_.asyncCall(call);
}

void StatusNotifierItem::SetToolTip(const QString& text) {
    toolTip_ = text;
    bus_.send(QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("NewToolTip")));
}

QVariantMap StatusNotifierItem::Properties() const {
    const QString title = QStringView(common::kProgramTitle).toString();
    const QVariant none = QVariant::fromValue(QList<StatusNotifierPixmap>());
    return {
        {QStringLiteral("Category"), QStringLiteral("Hardware")},
        {QStringLiteral("Id"), kIconName},
        {QStringLiteral("Title"), title},
        {QStringLiteral("Status"), QStringLiteral("Active")},
        {QStringLiteral("WindowId"), 0},
        {QStringLiteral("IconName"), iconName_},
        {QStringLiteral("IconPixmap"), pixmaps_},
        {QStringLiteral("IconThemePath"), QString()},
        {QStringLiteral("OverlayIconName"), QString()},
        {QStringLiteral("OverlayIconPixmap"), none},
        {QStringLiteral("AttentionIconName"), QString()},
        {QStringLiteral("AttentionIconPixmap"), none},
        {QStringLiteral("AttentionMovieName"), QString()},
        {QStringLiteral("ToolTip"),
         QVariant::fromValue(StatusNotifierToolTip{
             .iconName = iconName_, .pixmaps = {}, .title = title, .text = toolTip_})},
        {QStringLiteral("ItemIsMenu"), false},
        {QStringLiteral("Menu"), QVariant::fromValue(QDBusObjectPath(menuPath_))},
    };
}

bool StatusNotifierItem::handleMessage(const QDBusMessage& message,
                                       const QDBusConnection& connection) {
    const QString& member = message.member();
    const QVariantList arguments = message.arguments();
    if (message.interface() == kPropertiesInterface) {
        const QVariantMap properties = Properties();
        if (member == QStringLiteral("GetAll")) {
            connection.send(message.createReply(QVariant::fromValue(properties)));
        } else if (member == QStringLiteral("Get") && arguments.size() == 2 &&
                   properties.contains(arguments[1].toString())) {
            connection.send(message.createReply(
                QVariant::fromValue(QDBusVariant(properties.value(arguments[1].toString())))));
        } else {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, member));
        }
        return true;
    }
    const auto point = [&](const std::function<void(int, int)>& call) {
        connection.send(message.createReply());
        if (call && arguments.size() == 2) {
            common::RunGuarded([&] { call(arguments[0].toInt(), arguments[1].toInt()); });
        }
        return true;
    };
    if (member == QStringLiteral("Activate")) {
        return point(calls_.activate);
    }
    if (member == QStringLiteral("ContextMenu")) {
        return point(calls_.contextMenu);
    }
    if (member == QStringLiteral("SecondaryActivate") || member == QStringLiteral("Scroll") ||
        member == QStringLiteral("ProvideXdgActivationToken")) {
        connection.send(message.createReply());
        return true;
    }
    return false;
}

QString StatusNotifierItem::introspect(const QString& /*path*/) const {
    return QStringLiteral(R"xml(<interface name="org.kde.StatusNotifierItem">
<property name="Category" type="s" access="read"/>
<property name="Id" type="s" access="read"/>
<property name="Title" type="s" access="read"/>
<property name="Status" type="s" access="read"/>
<property name="WindowId" type="i" access="read"/>
<property name="IconName" type="s" access="read"/>
<property name="IconPixmap" type="a(iiay)" access="read"/>
<property name="IconThemePath" type="s" access="read"/>
<property name="OverlayIconName" type="s" access="read"/>
<property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
<property name="AttentionIconName" type="s" access="read"/>
<property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
<property name="AttentionMovieName" type="s" access="read"/>
<property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
<property name="ItemIsMenu" type="b" access="read"/>
<property name="Menu" type="o" access="read"/>
<method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
<method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
<method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
<method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
<signal name="NewTitle"/>
<signal name="NewIcon"/>
<signal name="NewAttentionIcon"/>
<signal name="NewOverlayIcon"/>
<signal name="NewToolTip"/>
<signal name="NewStatus"><arg name="status" type="s"/></signal>
</interface>
)xml");
}

} // namespace portmaven::linux_desktop
