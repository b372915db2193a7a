// The "Port Settings" dialog: the Win32 face of the port settings presenter, which holds every
// decision. It only moves data between its controls and the presenter.
#pragma once

#include "framework/win/dialog.h"
#include "ports/device_settings.h"
#include "ports/port_settings_presenter.h"
#include "ports/port_settings_view.h"
#include "ports/serial_port.h"

#include <windows.h>

#include <string>
#include <vector>

namespace portmaven::win {

class CPortSettingsDlg : public Dialog, public ports::PortSettingsView {
public:
    CPortSettingsDlg(ports::DeviceSettingsStore& store, ports::SerialPort port,
                     std::vector<std::u16string> commandNames, std::u16string heading,
                     HWND owner) noexcept;

    // ports::PortSettingsView
    void ShowForm(const ports::PortSettingsForm& form) override;
    [[nodiscard]] std::u16string Name() const override;
    [[nodiscard]] std::u16string Speed() const override;
    [[nodiscard]] int Command() const override;
    [[nodiscard]] bool RunOnArrival() const override;
    [[nodiscard]] bool ForKind() const override;
    void SetRunOnArrival(bool checked, bool enabled) override;
    void ShowSpeedProblem(std::u16string_view reason) override;
    void FocusSpeed() override;

protected:
    BOOL OnInitDialog() override;
    MessageResult HandleMessage(const WindowMessage& msg) override;
    // Enter: kept only when the presenter takes the form.
    void OnOK() override;

private:
    static const MessageMapEntry<CPortSettingsDlg> messageMap[];

    void OnCommandChanged();
    void OnSpeedChanged();

    ports::PortSettingsPresenter presenter_;
};

// Runs the dialog modally over `owner` for a copy of the port; OK saves what it holds in the
// store. True when it did.
bool RunPortSettingsDialog(HWND owner, ports::DeviceSettingsStore& store,
                           const ports::SerialPort& port, std::vector<std::u16string> commandNames,
                           std::u16string heading);

} // namespace portmaven::win
