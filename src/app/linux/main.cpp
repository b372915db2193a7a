// The Linux desktop program: one copy per user session, living in the system tray.
#include "app/linux/single_instance.h"
#include "app/linux/tray_host.h"
#include "common/program_title.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace {

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/portmaven-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QString title = QStringView(portmaven::common::kProgramTitle).toString();
    QApplication::setApplicationName(title);
    QApplication::setDesktopFileName(QStringLiteral("portmaven"));
    // Closing the Configure or About box must not end a program that has no other window.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ApplicationIcon());

    const portmaven::qt::SingleInstanceLock lock(portmaven::qt::SingleInstanceLock::DefaultPath());
    switch (lock.State()) {
    case portmaven::qt::InstanceState::First:
        break;
    case portmaven::qt::InstanceState::AlreadyRunning:
        QMessageBox::information(nullptr, QStringLiteral("Information"),
                                 QStringLiteral("Portmaven already running!"));
        return 0;
    case portmaven::qt::InstanceState::Unavailable:
        return 1;
    }

    portmaven::qt::TrayHost host(QApplication::windowIcon());
    return QApplication::exec();
}
