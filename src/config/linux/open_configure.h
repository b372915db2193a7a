// "Properties": the Configure dialog over the process-wide command list, the command file, the
// autostart entry and the notices' switch.
#pragma once

#include <string>

class QWidget;

namespace portmaven::config {
class NotifySetting;
}

namespace portmaven::linux_desktop {

// "Add" offers sampleCommand, the default Connect line, for a new command.
void OpenConfigureDialog(QWidget* parent, config::NotifySetting& notifySetting,
                         std::u16string sampleCommand);

} // namespace portmaven::linux_desktop
