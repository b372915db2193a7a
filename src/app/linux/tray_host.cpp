#include "app/linux/tray_host.h"

#include "about/linux/about_box.h"
#include "ports/linux/tray_menu.h"
#include "common/guarded.h"
#include "common/program_texts.h"
#include "config/command_list.h"
#include "config/linux/command_store.h"
#include "config/linux/open_configure.h"
#include "config/linux/xdg_config.h"
#include "ports/linux/launch.h"
#include "ports/linux/port_actions.h"
#include "ports/linux/serial_port_enum.h"
#include "ports/ports_texts.h"
#include "ports/tray_menu_model.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>

#include <optional>
#include <string>

namespace portmaven::linux_desktop {

TrayHost::TrayHost(const QIcon& icon)
    : icon_(icon), notifySetting_(SettingsFilePath()),
      notices_(
          {.showNotice = [this](const ports::PortNotice& notice) { ShowNotice(notice); },
           .setTooltip =
               [this](std::u16string_view tip) { icon_.setToolTip(QStringView(tip).toString()); }},
          SettingsFilePath()) {
    icon_.setToolTip(QStringView(common::kProgramTitle).toString());
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                common::RunGuarded([&] { OnActivated(reason); });
            });
    // The desktop reports a click on the notice; it answers like a click on the icon.
    connect(&icon_, &QSystemTrayIcon::messageClicked, this,
            [this] { common::RunGuarded([&] { ShowMenu(); }); });
    icon_.show();
    LoadCommandList(config::g_CommandList, DefaultConnectCommandLine());
    notices_.SetNotificationsEnabled(notifySetting_.IsEnabled());
    notices_.Seed();
}

TrayHost::~TrayHost() = default;

void TrayHost::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    // Either button opens the menu; a double click does nothing of its own.
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) {
        ShowMenu();
    }
}

void TrayHost::ShowMenu() {
    // No menu when the ports cannot be asked for: there is nothing the user could do.
    std::optional<std::vector<ports::SerialPort>> present = EnumerateMenuPorts(SettingsFilePath());
    if (!present) {
        return;
    }
    ports_ = std::move(*present);
    const ports::TrayMenuModel model =
        ports::BuildTrayMenuModel(ports_, config::g_CommandList, ports::kLinuxLayout);
    menu_ = BuildTrayMenu(
        model,
        {.launch = [this](std::size_t port, int command) { OnLaunchCommand(port, command); },
         .copyPortName = [this](std::size_t port) { CopyPortName(ports_, port); },
         .renamePort = [this](std::size_t port) { RenamePort(ports_, port, SettingsFilePath()); },
         .hidePort =
             [this](std::size_t port) { SetPortHidden(ports_, port, true, SettingsFilePath()); },
         .showPort =
             [this](std::size_t port) { SetPortHidden(ports_, port, false, SettingsFilePath()); },
         .properties = [this] { OnMenuProperties(); },
         .about = [this] { OnMenuAbout(); },
         .exit = [this] { OnMenuExit(); }});
    menu_->popup(QCursor::pos());
}

void TrayHost::OnLaunchCommand(std::size_t portIndex, int commandIndex) {
    if (portIndex >= ports_.size() || commandIndex < 0 ||
        commandIndex >= config::g_CommandList.GetCount()) {
        return;
    }
    const std::u16string_view commandLine =
        config::FieldText(config::g_CommandList.At(commandIndex).szCommand);
    if (!LaunchCommandForPort(commandLine, ports_[portIndex])) {
        QMessageBox::critical(nullptr, QStringView(common::kProgramTitle).toString(),
                              QStringView(ports::kInvalidCommandText).toString());
    }
}

void TrayHost::OnMenuProperties() {
    OpenConfigureDialog(nullptr, notifySetting_);
    notices_.SetNotificationsEnabled(notifySetting_.IsEnabled());
}

void TrayHost::OnMenuAbout() {
    ShowAboutBox(nullptr);
}

void TrayHost::OnMenuExit() {
    // A failed save is not reported: the program is ending, and the user can do nothing.
    SaveCommandList(config::g_CommandList);
    icon_.hide();
    QApplication::quit();
}

void TrayHost::ShowNotice(const ports::PortNotice& notice) {
    // The desktop's notification service shows it when there is one, Qt's own balloon otherwise.
    icon_.showMessage(QStringView(notice.title).toString(), QStringView(notice.text).toString(),
                      QSystemTrayIcon::Information);
}

} // namespace portmaven::linux_desktop
