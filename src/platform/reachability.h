#pragma once

#include <optional>

namespace lumigrave {

// Whether the computer can reach the Internet, as far as the system knows. Only a report of
// "disconnected" counts as offline: an unknown state, or a system that cannot tell at all,
// counts as connected, so that a share is tried rather than held back for nothing.
//
// The environment variable LUMIGRAVE_FORCE_NETWORK ("online" or "offline") decides instead
// for a whole process, and setForcedConnected decides before both.
class Reachability {
  public:
    static bool connected();
    // Forces the answer until called again with nothing.
    static void setForcedConnected(std::optional<bool> connected);
};

}  // namespace lumigrave
