// Port notices through the desktop's notification service (org.freedesktop.Notifications),
// sent by the program itself: as a normal-urgency notice with the program's name, icon and
// desktop entry, so that desktops pop it up, file it under Portmaven and never change the tray
// icon for it. A burst of notices replaces the one still shown instead of stacking up.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class QDBusPendingCallWatcher;

namespace portmaven::linux_desktop {

// A button of a notice, or its "default" action (a click on the notice itself).
struct NoticeAction {
    QString key;
    QString label;
    std::function<void()> run;
};

inline const QString kDefaultNoticeAction = QStringLiteral("default");

class DesktopNotifier final : public QObject {
    Q_OBJECT

public:
    // icon: sent as image data where the icon theme has no "portmaven".
    explicit DesktopNotifier(QIcon icon);
    ~DesktopNotifier() override;
    DesktopNotifier(const DesktopNotifier&) = delete;
    DesktopNotifier& operator=(const DesktopNotifier&) = delete;
    DesktopNotifier(DesktopNotifier&&) = delete;
    DesktopNotifier& operator=(DesktopNotifier&&) = delete;

    // Sends the notice; the service shows it and reports its actions. unreachable runs when
    // no service answers, so that the caller can show the notice its own way.
    void Show(const QString& title, const QString& body, std::vector<NoticeAction> actions,
              std::function<void()> unreachable);

private Q_SLOTS:
    // The service's signals, about every program's notices.
    void OnActionInvoked(uint id, const QString& key);
    void OnClosed(uint id, uint reason);

private:
    void OnSent(QDBusPendingCallWatcher* call, std::vector<NoticeAction> actions,
                const std::function<void()>& unreachable);

    QIcon icon_;
    // The service reads the body as markup: its text is escaped.
    bool bodyMarkup_ = false;
    // The notice on the screen now, which the next one replaces.
    std::optional<std::uint32_t> shown_;
    // The actions of each of our notices the service has not closed yet, by its id: signals
    // about anybody else's notices are ignored.
    std::map<std::uint32_t, std::vector<NoticeAction>> actions_;
};

} // namespace portmaven::linux_desktop
