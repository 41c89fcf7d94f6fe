#include "base/os_virtualization.h"

namespace mirvane::os {

Virtualization fileVirtualization() {
    return {};
}

}  // namespace mirvane::os
