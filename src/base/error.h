#pragma once

#include <stdexcept>
#include <string>

#include "base/os_failure.h"

namespace mirvane {

// The one error type of the program. Its message is exactly what the user is
// shown (UTF-8); a run never catches it, the front ends report it once. An
// error about a file also keeps the system's cause, for the few callers that
// have another way to go when, say, permission is refused.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message, os::Cause cause = os::Cause::None)
        : std::runtime_error(message), cause_(cause) {}
    // None when the error did not come from the system.
    os::Cause cause() const { return cause_; }

  private:
    os::Cause cause_;
};

// The message as an error box shows it: with a full stop appended when it
// does not already end in one.
std::string withFullStop(std::string message);

// Raises an Error with the given message and cause.
[[noreturn]] void fail(const std::string& message, os::Cause cause = os::Cause::None);

}  // namespace mirvane
