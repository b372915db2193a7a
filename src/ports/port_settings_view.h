// What the Port Settings presenter needs from a dialog: the form to show when it opens, the
// values the user left in it, the arrival box's state and the speed's reason for a refusal. The
// Win32 dialog and the Qt dialog implement it with real controls; tests with a fake.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace portmaven::ports {

// What the dialog shows when it opens, top to bottom.
struct PortSettingsForm {
    // The greyed line naming the port: its label and its details line.
    std::u16string heading;
    std::u16string name;
    // What the empty name field shows: the device's own description.
    std::u16string nameCue;
    // The speed in decimal digits; the drop-down offers kStandardBauds besides.
    std::u16string speed;
    // "(None)", then the commands in list order.
    std::vector<std::u16string> commands;
    // Index into `commands`.
    int command = 0;
    bool runOnArrival = false;
    bool runOnArrivalEnabled = false;
    // "Use for every 0403:6001 device"; nothing for a device of no known kind, whose dialog has
    // no such box.
    std::optional<std::u16string> forKindText;
    bool forKind = false;
};

class PortSettingsView {
public:
    virtual ~PortSettingsView() = default;

    virtual void ShowForm(const PortSettingsForm& form) = 0;

    [[nodiscard]] virtual std::u16string Name() const = 0;
    [[nodiscard]] virtual std::u16string Speed() const = 0;
    // Index into the form's commands.
    [[nodiscard]] virtual int Command() const = 0;
    [[nodiscard]] virtual bool RunOnArrival() const = 0;
    [[nodiscard]] virtual bool ForKind() const = 0;

    virtual void SetRunOnArrival(bool checked, bool enabled) = 0;
    // The reason beside the speed field, or none when `reason` is empty.
    virtual void ShowSpeedProblem(std::u16string_view reason) = 0;
    // Puts the focus in the speed field with its text selected.
    virtual void FocusSpeed() = 0;

protected:
    PortSettingsView() = default;
    PortSettingsView(const PortSettingsView&) = default;
    PortSettingsView& operator=(const PortSettingsView&) = default;
    PortSettingsView(PortSettingsView&&) = default;
    PortSettingsView& operator=(PortSettingsView&&) = default;
};

} // namespace portmaven::ports
