#include "config/linux/notify_setting.h"

#include "config/posix/file_system.h"

#include <QSettings>
#include <QString>

#include <exception>
#include <optional>
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
    // QSettings replaces the file by a rename of its own. It follows a chain of links that
    // ends at a file, but it makes a file where a link leads nowhere and puts a plain file in
    // place of a circle of links. Handed the file at the end of the chain, it writes there and
    // keeps that file's mode; a chain that ends nowhere is not saved through.
    std::optional<std::filesystem::path> target;
    try {
        target = config::FinalPathOf(file_);
    } catch (const std::exception&) {
        return false;
    }
    if (!target) {
        return false;
    }
    QSettings settings(QString::fromStdString(target->string()), QSettings::IniFormat);
    settings.setValue(kNotifyKey, enabled);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace portmaven::linux_desktop
