// "Properties": the Configure dialog over the process-wide command list, the command file and
// the autostart entry.
#pragma once

class QWidget;

namespace portmaven::qt {

void OpenConfigureDialog(QWidget* parent);

} // namespace portmaven::qt
