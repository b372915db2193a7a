#include "access/win/port_holder_lookup.h"

namespace portmaven::win {

PortHolderLookup::PortHolderLookup(HWND window, UINT message)
    : worker_(window, message, kHolderScanDeadline), lookup_(worker_, kHolderScanDeadline) {}

void PortHolderLookup::Refresh(std::vector<ports::SerialPort>& ports) {
    lookup_.Refresh(ports, access::ScanClock::now());
    lookup_.Note(ports);
}

bool PortHolderLookup::OnAnswer(std::vector<ports::SerialPort>& ports) {
    const std::optional<access::HolderScanAnswer> answer = worker_.TakeAnswer();
    if (!answer || !lookup_.OnAnswer(*answer, access::ScanClock::now())) {
        return false;
    }
    lookup_.Note(ports);
    return true;
}

} // namespace portmaven::win
