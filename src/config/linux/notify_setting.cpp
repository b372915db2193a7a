#include "config/linux/notify_setting.h"

#include "config/posix/file_system.h"

#include <QFile>
#include <QSettings>
#include <QString>

#include <exception>
#include <optional>
#include <utility>

namespace portmaven::linux_desktop {

namespace {

constexpr char kNotifyKey[] = "Notifications/NotifyPortChanges";

// The file's name as QSettings takes it, which it encodes back to the path's bytes; empty when
// the bytes are not UTF-8 (from the environment): Qt has no name for them on Linux, and
// decoding them anyway would reach another file.
QString SettingsFileName(const std::filesystem::path& file) {
    QString name = QFile::decodeName(file.c_str());
    return QFile::encodeName(name) == file.c_str() ? name : QString();
}

} // namespace

IniNotifySetting::IniNotifySetting(std::filesystem::path file) : file_(std::move(file)) {}

bool IniNotifySetting::IsEnabled() {
    const QString name = SettingsFileName(file_);
    if (name.isEmpty()) {
        return true;
    }
    const QSettings settings(name, QSettings::IniFormat);
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
    const QString name = target ? SettingsFileName(*target) : QString();
    if (name.isEmpty()) {
        return false;
    }
    QSettings settings(name, QSettings::IniFormat);
    settings.setValue(kNotifyKey, enabled);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace portmaven::linux_desktop
