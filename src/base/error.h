#pragma once

#include <stdexcept>
#include <string>

namespace mirvane {

// The one error type of the program. Its message is exactly what the user is
// shown (UTF-8); a run never catches it, the front ends report it once.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The message as an error box shows it: with a full stop appended when it
// does not already end in one.
std::string withFullStop(std::string message);

// Raises an Error with the given message.
[[noreturn]] void fail(const std::string& message);

}  // namespace mirvane
