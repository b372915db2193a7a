// The Configure dialog on Qt: widgets only. Every decision (modes, captions, messages, what
// Close commits) is the presenter's; each slot forwards one user action to it.
#pragma once

#include "config/command_list.h"
#include "config/configure_presenter.h"
#include "config/configure_view.h"
#include "config/notify_setting.h"
#include "config/run_key.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace portmaven::linux_desktop {

class ConfigureDialog final : public QDialog, public config::ConfigureView {
public:
    // "Add" offers sampleCommand (the default Connect line) for a new command.
    ConfigureDialog(config::CommandList& commands, config::RunKey& runKey,
                    config::CommandListSaver& saver, config::NotifySetting& notifySetting,
                    std::u16string sampleCommand, QWidget* parent = nullptr);

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

private:
    void BuildWidgets();
    void ConnectWidgets();
    [[nodiscard]] QPushButton* Button(config::ConfigureButton button) const;
    [[nodiscard]] QLineEdit* Field(config::ConfigureField field) const;

    std::array<QPushButton*, 4> buttons_{};
    QPushButton* closeButton_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLineEdit* commandField_ = nullptr;
    QTableWidget* rows_ = nullptr;
    QCheckBox* launchOnStartup_ = nullptr;
    QCheckBox* notifyPortChanges_ = nullptr;
    config::ConfigurePresenter presenter_;
};

} // namespace portmaven::linux_desktop
