// The "Port Settings" dialog on the Linux desktop: the Qt face of the port settings presenter,
// which holds every decision. Its slots only forward to the presenter.
#pragma once

#include "ports/device_settings.h"
#include "ports/port_settings_presenter.h"
#include "ports/port_settings_view.h"
#include "ports/serial_port.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace portmaven::linux_desktop {

class PortSettingsDialog final : public QDialog, public ports::PortSettingsView {
public:
    PortSettingsDialog(ports::DeviceSettingsStore& store, ports::SerialPort port,
                       std::vector<std::u16string> commandNames, std::u16string heading,
                       QWidget* parent);

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

    // Enter and OK: kept only when the presenter takes the form.
    void accept() override;

    [[nodiscard]] QLineEdit* NameEdit() const noexcept { return name_; }
    [[nodiscard]] QComboBox* SpeedBox() const noexcept { return speed_; }
    [[nodiscard]] QComboBox* CommandBox() const noexcept { return command_; }
    [[nodiscard]] QCheckBox* RunOnArrivalBox() const noexcept { return runOnArrival_; }
    [[nodiscard]] QCheckBox* ForKindBox() const noexcept { return forKind_; }
    [[nodiscard]] QLabel* SpeedProblem() const noexcept { return speedProblem_; }

private:
    QLabel* heading_;
    QLineEdit* name_;
    QComboBox* speed_;
    QLabel* speedProblem_;
    QComboBox* command_;
    QCheckBox* runOnArrival_;
    QCheckBox* forKind_;
    ports::PortSettingsPresenter presenter_;
};

// Runs the dialog modally for a copy of the port; OK saves what it holds in the store. True
// when it did.
bool RunPortSettingsDialog(ports::DeviceSettingsStore& store, const ports::SerialPort& port,
                           std::vector<std::u16string> commandNames, std::u16string heading,
                           QWidget* parent);

} // namespace portmaven::linux_desktop
