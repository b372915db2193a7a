// The Linux desktop program: one copy per user session, living in the system tray.
#include "app/linux/single_instance.h"
#include "app/linux/tray_host.h"
#include "common/program_options.h"
#include "common/program_texts.h"
#include "config/linux/xdg_config.h"
#include "ports/linux/port_actions.h"
#include "tray/linux/menu_icons.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The arguments after the program's own name, decoded as the system encodes file names.
std::vector<std::u16string> Arguments(int argc, char* argv[]) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(QFile::decodeName(argv[i]).toStdU16String());
    }
    return arguments;
}

bool WriteToStandardOutput(std::u16string_view text) {
    const QByteArray bytes = QStringView(text).toString().toUtf8();
    return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
               static_cast<std::size_t>(bytes.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Answers for scripts, without a tray icon and whether or not a copy runs.
    if (const std::optional<int> status = portmaven::common::RunScriptOption(
            Arguments(argc, argv), {.portList =
                                        [] {
                                            return portmaven::linux_desktop::PortListNow(
                                                portmaven::linux_desktop::SettingsFilePath());
                                        },
                                    .write = WriteToStandardOutput})) {
        return *status;
    }
    QApplication application(argc, argv);
    const QString title = QStringView(portmaven::common::kProgramTitle).toString();
    QApplication::setApplicationName(title);
    QApplication::setApplicationDisplayName(title);
    // Compositors and docks match the program's windows and notices to its desktop entry.
    QApplication::setDesktopFileName(QStringLiteral("portmaven"));
    // Closing the Configure or About box must not end a program that has no other window.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(portmaven::linux_desktop::ProgramIcon());

    const portmaven::linux_desktop::SingleInstanceLock lock(
        portmaven::linux_desktop::SingleInstanceLock::TemporaryFolder());
    switch (lock.State()) {
    case portmaven::linux_desktop::InstanceState::First:
        break;
    case portmaven::linux_desktop::InstanceState::AlreadyRunning:
        QMessageBox::information(nullptr,
                                 QStringView(portmaven::common::kAlreadyRunningCaption).toString(),
                                 QStringView(portmaven::common::kAlreadyRunningText).toString());
        return 0;
    case portmaven::linux_desktop::InstanceState::Unavailable:
        // Started from a menu or at log-in, the box is all the user sees; from a shell or a
        // script, the line on stderr.
        std::fprintf(stderr, "portmaven: %s\n", lock.Problem().c_str());
        QMessageBox::critical(nullptr, title, QString::fromLocal8Bit(lock.Problem()));
        return 1;
    }

    portmaven::linux_desktop::TrayHost host(QApplication::windowIcon());
    return QApplication::exec();
}
