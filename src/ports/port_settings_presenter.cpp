#include "ports/port_settings_presenter.h"

#include "common/text.h"
#include "ports/device_identity.h"
#include "ports/ports_texts.h"

#include <algorithm>
#include <utility>

namespace portmaven::ports {

namespace {

bool HasAny(const StoredLaunchSettings& stored) {
    return stored.baud || stored.command || stored.runOnArrival;
}

} // namespace

PortSettingsPresenter::PortSettingsPresenter(PortSettingsView& view, DeviceSettingsStore& store,
                                             SerialPort port,
                                             std::vector<std::u16string> commandNames,
                                             std::u16string heading)
    : view_(view), store_(store), port_(std::move(port)), commandNames_(std::move(commandNames)),
      heading_(std::move(heading)) {}

void PortSettingsPresenter::OnInitDialog() {
    // Read afresh: the port's copy may be older than what another dialog saved since.
    const std::u16string kindKey = KindKey(port_);
    const StoredLaunchSettings own = ReadLaunchSettings(store_, DeviceKey(port_));
    const StoredLaunchSettings kind = ReadLaunchSettings(store_, kindKey);
    const PortLaunchSettings current = ResolveLaunchSettings(own, kind);

    PortSettingsForm form;
    form.heading = heading_;
    form.name = port_.userName;
    form.nameCue = DeviceDescription(port_);
    form.speed = common::DecimalText(current.baud);
    form.commands.emplace_back(kNoDefaultCommandText);
    form.commands.insert(form.commands.end(), commandNames_.begin(), commandNames_.end());
    // A command that no longer exists is no default command.
    const auto found =
        std::find(commandNames_.begin(), commandNames_.end(), current.defaultCommand);
    if (!current.defaultCommand.empty() && found != commandNames_.end()) {
        form.command = static_cast<int>(found - commandNames_.begin()) + 1;
    }
    form.runOnArrivalEnabled = form.command > 0;
    form.runOnArrival = form.runOnArrivalEnabled && current.runOnArrival;
    if (!kindKey.empty()) {
        form.forKindText = ForKindText(port_.device.vendorId, port_.device.productId);
        form.forKind = !HasAny(own) && HasAny(kind);
    }
    view_.ShowForm(form);
}

void PortSettingsPresenter::OnCommandChanged() {
    const bool enabled = view_.Command() > 0;
    view_.SetRunOnArrival(enabled && view_.RunOnArrival(), enabled);
}

void PortSettingsPresenter::OnSpeedChanged() {
    view_.ShowSpeedProblem(u"");
}

bool PortSettingsPresenter::OnOk() {
    const std::optional<unsigned> baud = ParseBaud(view_.Speed());
    if (!baud) {
        view_.ShowSpeedProblem(kSpeedOutOfRangeText);
        view_.FocusSpeed();
        return false;
    }
    PortSettingsChoice choice;
    choice.name = view_.Name();
    choice.launch.baud = *baud;
    const int command = view_.Command();
    if (command > 0 && static_cast<std::size_t>(command) <= commandNames_.size()) {
        choice.launch.defaultCommand = commandNames_[static_cast<std::size_t>(command) - 1];
        choice.launch.runOnArrival = view_.RunOnArrival();
    }
    choice.forKind = !KindKey(port_).empty() && view_.ForKind();
    // A name that cannot be kept or a store that fails leaves what was stored; the menu shows
    // what is in effect, and there is nothing the user could do about a failing store here.
    SavePortSettings(store_, port_, choice);
    return true;
}

} // namespace portmaven::ports
