// The baseline of sni_menu_bench.py: a tray icon whose context menu has the shape of
// Portmaven's with 32 ports and 20 commands (29 ports, then "More Ports" with the other 3),
// built once and never touched again.
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMenu menu;
    QMenu* level = &menu;
    for (int port = 0; port < 32; ++port) {
        if (port == 29) {
            level = menu.addMenu(QStringLiteral("More Ports"));
        }
        QMenu* submenu =
            level->addMenu(QStringLiteral("FT232R USB UART (/dev/ttyUSB%1)").arg(port));
        for (int command = 0; command < 20; ++command) {
            submenu->addAction(QStringLiteral("Command %1").arg(command));
        }
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Properties"));
    menu.addAction(QStringLiteral("About Portmaven"));
    menu.addAction(QStringLiteral("Exit"));
    QSystemTrayIcon icon(QIcon::fromTheme(QStringLiteral("computer")));
    icon.setContextMenu(&menu);
    icon.show();
    return QApplication::exec();
}
