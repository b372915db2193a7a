// "Properties": the Configure dialog over the program's command list and its store, the
// autostart entry and the notices' switch.
#pragma once

class QWidget;

namespace portmaven::config {
class CommandList;
class CommandListSaver;
class NotifySetting;
} // namespace portmaven::config

namespace portmaven::linux_desktop {

void OpenConfigureDialog(QWidget* parent, config::CommandList& commands,
                         config::CommandListSaver& saver, config::NotifySetting& notifySetting);

} // namespace portmaven::linux_desktop
