#include "ports/linux/desktop_notifier.h"

#include "common/guarded.h"
#include "common/program_texts.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QVariantMap>

#include <utility>

namespace portmaven::linux_desktop {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDesktopEntry = QStringLiteral("portmaven");
// Normal: low-urgency notices are filed away silently by some desktops (GNOME).
constexpr uchar kNormalUrgency = 1;
// The service decides how long a notice stays.
constexpr int kServerTimeout = -1;
constexpr int kImageSize = 64;

// The "image-data" hint: (iiibiiay) width, height, row stride, alpha, bits per sample,
// channels, RGBA bytes.
QDBusArgument ImageData(const QIcon& icon) {
    const QImage image =
        icon.pixmap(kImageSize, kImageSize).toImage().convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument argument;
    argument.beginStructure();
    argument << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true
             << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                           static_cast<qsizetype>(image.sizeInBytes()));
    argument.endStructure();
    return argument;
}

} // namespace

DesktopNotifier::DesktopNotifier(QIcon icon) : icon_(std::move(icon)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(OnActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(OnClosed(uint, uint)));
    // A service that reads markup in bodies would take a device's "&" or "<" for it.
    auto* asked = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                     QStringLiteral("GetCapabilities"))),
        this);
    connect(
        asked, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
            const QDBusPendingReply<QStringList> reply = *answer;
            bodyMarkup_ = reply.isValid() && reply.value().contains(QStringLiteral("body-markup"));
            answer->deleteLater();
        });
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::Show(const QString& title, const QString& body,
                           std::vector<NoticeAction> actions, std::function<void()> unreachable) {
    QStringList actionList;
    for (const NoticeAction& action : actions) {
        actionList << action.key << action.label;
    }
    QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry},
                      {QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency)}};
    const QString iconName = kDesktopEntry;
    if (!QIcon::hasThemeIcon(iconName)) {
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(ImageData(icon_)));
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringView(common::kProgramTitle).toString() << shown_.value_or(0U) << iconName
         << title << (bodyMarkup_ ? body.toHtmlEscaped() : body) << actionList << hints
         << kServerTimeout;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, actions = std::move(actions),
             unreachable = std::move(unreachable)](QDBusPendingCallWatcher* sent) mutable {
                common::RunGuarded([&] { OnSent(sent, std::move(actions), unreachable); });
                sent->deleteLater();
            });
}

void DesktopNotifier::OnSent(QDBusPendingCallWatcher* call, std::vector<NoticeAction> actions,
                             const std::function<void()>& unreachable) {
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        if (unreachable) {
            unreachable();
        }
        return;
    }
    const std::uint32_t id = reply.value();
    shown_ = id;
    actions_[id] = std::move(actions);
}

void DesktopNotifier::OnActionInvoked(uint id, const QString& key) {
    const auto notice = actions_.find(id);
    if (notice == actions_.end()) {
        return;
    }
    for (const NoticeAction& action : notice->second) {
        if (action.key == key && action.run) {
            common::RunGuarded(action.run);
            return;
        }
    }
}

void DesktopNotifier::OnClosed(uint id, uint /*reason*/) {
    actions_.erase(id);
    if (shown_ == id) {
        shown_.reset();
    }
}

} // namespace portmaven::linux_desktop
