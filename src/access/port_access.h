// Why the user cannot open a port for reading and writing, from what the system says of its
// device node and of the user's groups, and the one fix worth offering: joining the group that
// owns the node.
#pragma once

#include "ports/serial_port.h"

#include <string>

namespace portmaven::access {

struct NodeAccessFacts {
    // The user may not read and write the node for want of permission. False when they may,
    // and when the node could not be asked at all (it has gone): then nothing is said.
    bool denied = false;
    // The group that owns the node, by name; empty when it has none.
    std::u16string group;
    // The superuser's group: joining it is no fix to offer.
    bool superuserGroup = false;
    // The node's mode lets its group read and write it.
    bool groupMayReadWrite = false;
    // The user is in the group in the group database, and in the groups this session runs with.
    bool memberInDatabase = false;
    bool memberInSession = false;
    // The user's name; empty when the user has no entry.
    std::u16string user;
};

// Trouble::None whenever joining the group would not let the user in: the node opens, it is
// its owner's alone or the superuser's group's, the user is in the group already (something
// else stops them), or a name is unknown. A wrong fix is worse than none.
[[nodiscard]] ports::PortAccess AccessTroubleOf(const NodeAccessFacts& facts);

} // namespace portmaven::access
