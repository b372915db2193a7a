// "Properties": the Configure dialog over the program's command list and its store, the
// autostart entry and the notices' switch.
#pragma once

#include <string>

class QWidget;

namespace portmaven::config {
class CommandList;
class CommandListSaver;
class NotifySetting;
} // namespace portmaven::config

namespace portmaven::linux_desktop {

// "Add" offers sampleCommand, the default Connect line, for a new command.
void OpenConfigureDialog(QWidget* parent, config::CommandList& commands,
                         config::CommandListSaver& saver, config::NotifySetting& notifySetting,
                         std::u16string sampleCommand);

} // namespace portmaven::linux_desktop
