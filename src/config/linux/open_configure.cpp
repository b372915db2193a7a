#include "config/linux/open_configure.h"

#include "config/command_list.h"
#include "config/linux/autostart_run_key.h"
#include "config/linux/command_store.h"
#include "config/linux/configure_dialog.h"
#include "config/linux/xdg_config.h"

namespace portmaven::linux_desktop {

void OpenConfigureDialog(QWidget* parent, config::NotifySetting& notifySetting) {
    CommandFileSaver saver;
    AutostartRunKey runKey(AutostartFilePath(), RunningProgramPath());
    ConfigureDialog dialog(config::g_CommandList, runKey, saver, notifySetting, parent);
    dialog.exec();
}

} // namespace portmaven::linux_desktop
