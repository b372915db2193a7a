// The least a Qt tray program can be: one QSystemTrayIcon with an icon, nothing else. The
// idle harness compares portmaven's resident memory with this one's.
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::blue);
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.setToolTip(QStringLiteral("Minimal"));
    icon.show();
    return QApplication::exec();
}
