// The tray menu's "Properties": the Configure dialog over the program's command list, the
// machine-wide Run value and the command file.
#include "app/win/portmaven_dlg.h"
#include "config/command_list.h"
#include "config/win/command_store_win.h"
#include "config/win/configure_dlg.h"
#include "config/win/notify_setting_win.h"
#include "config/win/run_key_win.h"

namespace portmaven::win {

namespace {

class CommandFileSaver final : public config::CommandListSaver {
public:
    bool SaveCommandList() override { return win::SaveCommandList(); }
};

} // namespace

void CPortmavenDlg::OnMenuProperties() {
    try {
        RegistryRunKey runKey;
        CommandFileSaver saver;
        RegistryNotifySetting notifySetting;
        // No parent: the dialog is then owned by the host, the application's main window.
        CConfigureDlg dialog(config::g_CommandList, runKey, saver, notifySetting);
        // Whatever Close committed is already in the list and the file; nothing else to do.
        dialog.DoModal();
        // Close may have switched the port notices.
        ApplyNotifySetting();
    } catch (...) {
        // A failure in the dialog must not end the tray program.
    }
}

} // namespace portmaven::win
