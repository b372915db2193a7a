#include "access/holder_lookup.h"

#include <utility>

namespace portmaven::access {

HolderLookup::Request HolderLookup::Refresh(std::span<const ports::SerialPort> ports,
                                            ScanClock::time_point now) {
    if (running_) {
        if (!running_->dropped && now > running_->deadline) {
            running_->dropped = true;
            Forget(running_->portNames);
        }
        return Request::Merged;
    }
    std::vector<std::u16string> portNames;
    for (const ports::SerialPort& port : ports) {
        portNames.push_back(port.name);
    }
    if (lastAnswer_ && now - lastAnswer_->at < freshFor_ && lastAnswer_->portNames == portNames) {
        return Request::Fresh;
    }
    RunningScan scan{
        .number = ++lastScan_, .deadline = now + deadline_, .portNames = std::move(portNames)};
    running_ = scan;
    try {
        scanner_.Start(scan.number, std::move(scan.portNames));
    } catch (...) {
        // No worker took it: no answer will come, and the next request may start afresh.
        running_.reset();
        throw;
    }
    return Request::Started;
}

bool HolderLookup::OnAnswer(const HolderScanAnswer& answer, ScanClock::time_point now) {
    if (!running_ || answer.scan != running_->number) {
        return false;
    }
    const RunningScan scan = std::move(*running_);
    running_.reset();
    // A look that proved nothing stands too: another one at once would most likely fare alike.
    lastAnswer_ = EndedLook{.at = now, .portNames = scan.portNames};
    if (scan.dropped || now > scan.deadline || !answer.complete) {
        return Forget(scan.portNames);
    }
    bool changed = false;
    for (const std::u16string& name : scan.portNames) {
        const auto found = answer.holders.find(name);
        const std::u16string text =
            found == answer.holders.end() ? std::u16string() : HoldersText(found->second);
        const auto known = known_.find(name);
        if (text.empty()) {
            changed = Forget({name}) || changed;
        } else if (known == known_.end() || known->second != text) {
            known_.insert_or_assign(name, text);
            changed = true;
        }
    }
    return changed;
}

void HolderLookup::Note(std::span<ports::SerialPort> ports) const {
    for (ports::SerialPort& port : ports) {
        const auto known = known_.find(port.name);
        port.usedBy = known == known_.end() ? std::u16string() : known->second;
    }
}

bool HolderLookup::Forget(const std::vector<std::u16string>& portNames) {
    bool forgot = false;
    for (const std::u16string& name : portNames) {
        forgot = known_.erase(name) > 0 || forgot;
    }
    return forgot;
}

} // namespace portmaven::access
