#include "base/os_clock.h"

namespace mirvane::os {

std::tm localTime(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

}  // namespace mirvane::os
