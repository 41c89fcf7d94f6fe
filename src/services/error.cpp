#include "services/error.h"

namespace mirvane {

void fail(const std::string& message) { throw Error(message); }

}  // namespace mirvane
