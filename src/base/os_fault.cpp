#include "base/os_fault.h"

#include <utility>

namespace mirvane::os {
namespace {

// The one hook of the process: the tests run on one thread.
FaultHook& installed() {
    static FaultHook hook;
    return hook;
}

}  // namespace

InjectedFaults::InjectedFaults(FaultHook hook) {
    installed() = std::move(hook);
}

InjectedFaults::~InjectedFaults() {
    installed() = nullptr;
}

Failure injectedFault(Call call, const std::filesystem::path& path) {
    const FaultHook& hook = installed();
    return hook ? hook(call, path) : Failure{};
}

}  // namespace mirvane::os
