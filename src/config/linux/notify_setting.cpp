#include "config/linux/notify_setting.h"

#include <QSettings>
#include <QString>

#include <utility>

namespace portmaven::linux_desktop {

namespace {

constexpr char kNotifyKey[] = "Notifications/NotifyPortChanges";

} // namespace

IniNotifySetting::IniNotifySetting(std::filesystem::path file) : file_(std::move(file)) {}

bool IniNotifySetting::IsEnabled() {
    if (file_.empty()) {
        return true;
    }
    const QSettings settings(QString::fromStdString(file_.string()), QSettings::IniFormat);
    // A missing file, a missing key or a file that cannot be read all mean the default: on.
    if (settings.status() != QSettings::NoError) {
        return true;
    }
    const QString text = settings.value(kNotifyKey).toString().trimmed().toLower();
    return text != QStringLiteral("false") && text != QStringLiteral("0");
}

bool IniNotifySetting::SetEnabled(bool enabled) {
    if (file_.empty()) {
        return false;
    }
    QSettings settings(QString::fromStdString(file_.string()), QSettings::IniFormat);
    settings.setValue(kNotifyKey, enabled);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace portmaven::linux_desktop
