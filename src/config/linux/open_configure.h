// "Properties": the Configure dialog over the process-wide command list, the command file, the
// autostart entry and the notices' switch.
#pragma once

class QWidget;

namespace portmaven::config {
class NotifySetting;
}

namespace portmaven::linux_desktop {

void OpenConfigureDialog(QWidget* parent, config::NotifySetting& notifySetting);

} // namespace portmaven::linux_desktop
