#include "config/linux/open_configure.h"

#include "config/linux/autostart_run_key.h"
#include "config/linux/configure_dialog.h"
#include "config/linux/xdg_config.h"

#include <utility>

namespace portmaven::linux_desktop {

void OpenConfigureDialog(QWidget* parent, config::CommandList& commands,
                         config::CommandListSaver& saver, config::NotifySetting& notifySetting,
                         std::u16string sampleCommand) {
    AutostartRunKey runKey(AutostartFilePath(), RunningProgramPath());
    ConfigureDialog dialog(commands, runKey, saver, notifySetting, std::move(sampleCommand),
                           parent);
    dialog.exec();
}

} // namespace portmaven::linux_desktop
