#include "config/linux/open_configure.h"

#include "config/command_list.h"
#include "config/linux/autostart_run_key.h"
#include "config/linux/command_store.h"
#include "config/linux/configure_dialog.h"
#include "config/linux/xdg_config.h"

#include <utility>

namespace portmaven::linux_desktop {

void OpenConfigureDialog(QWidget* parent, config::NotifySetting& notifySetting,
                         std::u16string sampleCommand) {
    CommandFileSaver saver;
    AutostartRunKey runKey(AutostartFilePath(), RunningProgramPath());
    ConfigureDialog dialog(config::g_CommandList, runKey, saver, notifySetting,
                           std::move(sampleCommand), parent);
    dialog.exec();
}

} // namespace portmaven::linux_desktop
