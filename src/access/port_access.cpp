#include "access/port_access.h"

namespace portmaven::access {

ports::PortAccess AccessTroubleOf(const NodeAccessFacts& facts) {
    if (!facts.denied || facts.group.empty() || facts.superuserGroup || !facts.groupMayReadWrite ||
        facts.memberInSession || facts.user.empty()) {
        return {};
    }
    return {.trouble = facts.memberInDatabase ? ports::PortAccess::Trouble::NotInSession
                                              : ports::PortAccess::Trouble::NotInGroup,
            .group = facts.group,
            .user = facts.user};
}

} // namespace portmaven::access
