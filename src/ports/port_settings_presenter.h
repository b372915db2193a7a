// The Port Settings dialog's logic, independent of any window system: what it shows for a port
// when it opens, the arrival box that only a default command enables, the speed refused in
// place, and the save on OK. Any other way out changes nothing.
#pragma once

#include "ports/device_settings.h"
#include "ports/port_settings_view.h"
#include "ports/serial_port.h"

#include <string>
#include <vector>

namespace portmaven::ports {

class PortSettingsPresenter {
public:
    // `commandNames` are the commands' names in list order; `heading` the greyed line.
    PortSettingsPresenter(PortSettingsView& view, DeviceSettingsStore& store, SerialPort port,
                          std::vector<std::u16string> commandNames, std::u16string heading);

    // Fills the form from the port's settings as they are in effect now. The kind's box starts
    // checked when the device has no launch settings of its own but its kind has.
    void OnInitDialog();
    // The default command changed: the arrival box is enabled only with one, and cleared
    // without.
    void OnCommandChanged();
    // The speed's text changed: a reason shown for an earlier refusal goes.
    void OnSpeedChanged();
    // Saves what the form holds; false, with the reason beside the speed field, when the speed
    // cannot be used: the dialog then stays open.
    bool OnOk();

    // The port as saved by OK.
    [[nodiscard]] const SerialPort& Port() const noexcept { return port_; }

private:
    PortSettingsView& view_;
    DeviceSettingsStore& store_;
    SerialPort port_;
    std::vector<std::u16string> commandNames_;
    std::u16string heading_;
};

} // namespace portmaven::ports
