#include "tray/linux/menu_icons.h"

#include <QBuffer>
#include <QPixmap>

namespace portmaven::linux_desktop {

namespace {

// The stem of the program's own pictures in its resources, drawn at each of kSizes.
QString OwnPictureStem(tray::MenuIcon icon) {
    switch (icon) {
    case tray::MenuIcon::None:
        return {};
    case tray::MenuIcon::Port:
        return QStringLiteral("menu_port");
    case tray::MenuIcon::Command:
        return QStringLiteral("menu_command");
    case tray::MenuIcon::DeviceManager:
        return QStringLiteral("menu_device_manager");
    case tray::MenuIcon::Properties:
        return QStringLiteral("menu_properties");
    case tray::MenuIcon::About:
        return QStringLiteral("menu_about");
    case tray::MenuIcon::Exit:
        return QStringLiteral("menu_exit");
    }
    return {};
}

constexpr int kSizes[] = {16, 20, 24, 32};
// What a panel draws beside an entry at common scales.
constexpr int kExportedSize = 24;

QIcon OwnPicture(tray::MenuIcon icon) {
    const QString stem = OwnPictureStem(icon);
    QIcon picture;
    if (stem.isEmpty()) {
        return picture;
    }
    for (const int size : kSizes) {
        picture.addFile(QStringLiteral(":/menu/%1_%2.png").arg(stem).arg(size), QSize(size, size));
    }
    return picture;
}

} // namespace

QString MenuIconName(tray::MenuIcon icon) {
    switch (icon) {
    case tray::MenuIcon::None:
        return {};
    case tray::MenuIcon::Port:
        return QStringLiteral("network-wired");
    case tray::MenuIcon::Command:
        return QStringLiteral("utilities-terminal");
    case tray::MenuIcon::DeviceManager:
        return QStringLiteral("computer");
    case tray::MenuIcon::Properties:
        return QStringLiteral("preferences-system");
    case tray::MenuIcon::About:
        return QStringLiteral("help-about");
    case tray::MenuIcon::Exit:
        return QStringLiteral("application-exit");
    }
    return {};
}

QIcon MenuIconImage(tray::MenuIcon icon) {
    const QString name = MenuIconName(icon);
    if (name.isEmpty()) {
        return {};
    }
    // Looked up each time: the theme may change while the program runs.
    return QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : OwnPicture(icon);
}

QByteArray OwnMenuIconPng(tray::MenuIcon icon) {
    const QIcon picture = OwnPicture(icon);
    QByteArray png;
    if (picture.isNull()) {
        return png;
    }
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.pixmap(kExportedSize, kExportedSize).save(&buffer, "PNG");
    return png;
}

QIcon ProgramIcon() {
    QIcon own;
    for (const int size : {16, 24, 32, 48, 64}) {
        own.addFile(QStringLiteral(":/icons/portmaven-%1.png").arg(size), QSize(size, size));
    }
    return QIcon::fromTheme(QStringLiteral("portmaven"), own);
}

} // namespace portmaven::linux_desktop
