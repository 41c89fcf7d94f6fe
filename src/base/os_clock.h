#pragma once

#include <ctime>

namespace mirvane::os {

// The local calendar time of `moment`.
std::tm localTime(std::time_t moment);

}  // namespace mirvane::os
