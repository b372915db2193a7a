// The Configure dialog (template 132): the Win32 face of the configure presenter. It only
// moves data between its controls and the presenter, which holds every decision.
#pragma once

#include "framework/win/dialog.h"
#include "config/command_list.h"
#include "config/configure_presenter.h"
#include "config/configure_view.h"
#include "config/notify_setting.h"
#include "config/run_key.h"

#include <windows.h>

namespace portmaven::win {

class CConfigureDlg : public Dialog, public config::ConfigureView {
public:
    CConfigureDlg(config::CommandList& commands, config::RunKey& runKey,
                  config::CommandListSaver& saver, config::NotifySetting& notifySetting,
                  HWND parent = nullptr) noexcept;
    ~CConfigureDlg() override = default;

    CConfigureDlg(const CConfigureDlg&) = delete;
    CConfigureDlg& operator=(const CConfigureDlg&) = delete;
    CConfigureDlg(CConfigureDlg&&) = delete;
    CConfigureDlg& operator=(CConfigureDlg&&) = delete;

    // config::ConfigureView
    [[nodiscard]] std::u16string ButtonCaption(config::ConfigureButton button) const override;
    void SetButtonCaption(config::ConfigureButton button, std::u16string_view caption) override;
    void EnableButton(config::ConfigureButton button, bool enabled) override;
    void ShowButton(config::ConfigureButton button, bool shown) override;
    [[nodiscard]] std::u16string FieldText(config::ConfigureField field) const override;
    void SetFieldText(config::ConfigureField field, std::u16string_view text) override;
    void FocusField(config::ConfigureField field) override;
    [[nodiscard]] int RowCount() const override;
    void AppendRow(const config::tag_ST_PORTMAVEN_CONFIG& record) override;
    [[nodiscard]] std::u16string RowText(int row, config::RowColumn column) const override;
    void SetRowText(int row, config::RowColumn column, std::u16string_view text) override;
    void DeleteRow(int row) override;
    [[nodiscard]] int FirstSelectedRow() const override;
    [[nodiscard]] bool IsLaunchOnStartupChecked() const override;
    void SetLaunchOnStartupChecked(bool checked) override;
    [[nodiscard]] bool IsNotifyPortChangesChecked() const override;
    void SetNotifyPortChangesChecked(bool checked) override;
    void ShowStopMessage(std::u16string_view text) override;
    bool AskYesNo(std::u16string_view text, std::u16string_view caption) override;

protected:
    BOOL OnInitDialog() override;
    MessageResult HandleMessage(const WindowMessage& msg) override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

    void OnBnClickedAdd();
    void OnBnClickedEdit();
    void OnBnClickedDelete();
    void OnBnClickedCancelEdit();
    void OnBnClickedClose();
    void OnLvnItemchangedCommandList();

private:
    static const MessageMapEntry<CConfigureDlg> messageMap[];

    config::ConfigurePresenter m_presenter;
    // The controls, bound when the dialog initialises.
    HWND m_listCommands = nullptr;
    HWND m_editName = nullptr;
    HWND m_editCommand = nullptr;
    HWND m_chkLaunchOnStartup = nullptr;
    HWND m_chkNotifyPortChanges = nullptr;
};

// Runs the Configure dialog modal to owner over the list: Close commits the rows to the list and
// hands it to the saver, and switches the machine-wide Run value and the port notices
// (`notifySetting`); Escape changes nothing.
void RunConfigureDialog(HWND owner, config::CommandList& commands, config::CommandListSaver& saver,
                        config::NotifySetting& notifySetting);

} // namespace portmaven::win
