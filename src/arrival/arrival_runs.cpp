#include "arrival/arrival_runs.h"

#include "launch/launch_texts.h"
#include "ports/device_identity.h"
#include "ports/device_settings.h"
#include "tray/menu_choice.h"

#include <algorithm>
#include <set>
#include <utility>

namespace portmaven::arrival {

namespace {

// Whether a port listed earlier in the burst has the same name: it runs once.
bool ListedBefore(std::span<const ports::SerialPort> added, std::size_t index) {
    const auto before = added.first(index);
    return std::any_of(before.begin(), before.end(), [&](const ports::SerialPort& port) {
        return port.name == added[index].name;
    });
}

// "Invalid command to execute", naming the port as every notice names it.
ports::PortNotice InvalidCommandNotice(const ports::SerialPort& port) {
    return {.title = launch::kInvalidCommandText,
            .text = ports::ShownLabel(port),
            .namedText = ports::NamedPortLine(port)};
}

} // namespace

std::vector<ports::PortNotice> ArrivalRuns::OnPortsArrived(std::span<const ports::SerialPort> added,
                                                           const config::CommandList& commands,
                                                           const ProcessStarter& start) {
    // What has ended since is forgotten; the devices whose programs still run start nothing.
    // Decided before this burst starts anything, so that the two ports of a dual adapter that
    // come together both run.
    std::set<std::u16string> busy;
    for (auto device = started_.begin(); device != started_.end();) {
        std::erase_if(device->second, [](const std::unique_ptr<launch::StartedProcess>& process) {
            return !process->IsRunning();
        });
        if (device->second.empty()) {
            device = started_.erase(device);
        } else {
            busy.insert(device->first);
            ++device;
        }
    }

    std::vector<ports::PortNotice> failures;
    for (std::size_t i = 0; i < added.size(); ++i) {
        const ports::SerialPort& port = added[i];
        const std::u16string key = ports::DeviceKey(port);
        if (port.hidden || !port.launch.runOnArrival || ListedBefore(added, i) ||
            busy.contains(key)) {
            continue;
        }
        launch::LaunchResult result;
        const tray::LaunchOutcome outcome = tray::LaunchCommandChoice(
            tray::DefaultCommandChoice(i, added, commands), added, commands,
            [&](std::u16string_view commandLine, const ports::SerialPort& chosen) {
                result = start(commandLine, chosen);
                return result.started;
            });
        if (outcome == tray::LaunchOutcome::Invalid) {
            failures.push_back(InvalidCommandNotice(port));
        } else if (result.process) {
            started_[key].push_back(std::move(result.process));
        }
    }
    return failures;
}

} // namespace portmaven::arrival
