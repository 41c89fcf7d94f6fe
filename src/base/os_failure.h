#pragma once

#include <string>

// How a call of the platform layer fails: the kind of refusal, for the callers
// that act on it, and the reason in Spanish, for the caller's message.
namespace mirvane::os {

// Why a call failed.
enum class Cause { None, NotFound, NoPermission, ReadOnly, HeldElsewhere, Other };

struct Failure {
    Cause cause = Cause::None;
    std::string reason;  // Spanish, lower case: "no queda espacio en el disco"
    explicit operator bool() const { return cause != Cause::None; }
};

}  // namespace mirvane::os
