#include "ports/linux/device_store.h"

#include <QFile>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <utility>

namespace portmaven::linux_desktop {

namespace {

QString SettingsKey(std::u16string_view valueName) {
    return QStringLiteral("Devices/") + QStringView(valueName).toString();
}

} // namespace

IniDeviceStore::IniDeviceStore(const std::filesystem::path& file) {
    // QSettings encodes the name it is given with Qt's file-name encoding; a name that does not
    // encode back to the path's bytes would reach another file.
    QString name = QFile::decodeName(file.c_str());
    if (!file.empty() && QFile::encodeName(name) == file.c_str()) {
        fileName_ = std::move(name);
    }
}

std::optional<std::u16string> IniDeviceStore::Read(std::u16string_view valueName) {
    if (fileName_.isEmpty()) {
        return std::nullopt;
    }
    const QSettings settings(fileName_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        return std::nullopt;
    }
    const QVariant value = settings.value(SettingsKey(valueName));
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return value.toString().toStdU16String();
}

bool IniDeviceStore::Write(std::u16string_view valueName, std::u16string_view text) {
    if (fileName_.isEmpty()) {
        return false;
    }
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.setValue(SettingsKey(valueName), QStringView(text).toString());
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool IniDeviceStore::Remove(std::u16string_view valueName) {
    if (fileName_.isEmpty()) {
        return false;
    }
    QSettings settings(fileName_, QSettings::IniFormat);
    settings.remove(SettingsKey(valueName));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace portmaven::linux_desktop
