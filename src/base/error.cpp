#include "base/error.h"

namespace mirvane {

std::string withFullStop(std::string message) {
    if (message.empty() || message.back() != '.') message += '.';
    return message;
}

void fail(const std::string& message, os::Cause cause) {
    throw Error(message, cause);
}

}  // namespace mirvane
