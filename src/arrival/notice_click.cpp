#include "arrival/notice_click.h"

#include <algorithm>

namespace portmaven::arrival {

tray::CommandChoice NoticeClickChoice(const std::optional<ports::PortNotice>& notice,
                                      std::span<const ports::SerialPort> present,
                                      const config::CommandList& commands) {
    if (!notice || !notice->arrival) {
        return {};
    }
    // The same port of the same device: a board that took the number of the one that has gone
    // is another board.
    const auto found = std::find(present.begin(), present.end(), *notice->arrival);
    if (found == present.end() || found->hidden) {
        return {};
    }
    return tray::DefaultCommandChoice(static_cast<std::size_t>(found - present.begin()), present,
                                      commands);
}

} // namespace portmaven::arrival
