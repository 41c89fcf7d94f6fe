#pragma once

#include <filesystem>
#include <functional>

#include "base/os_failure.h"

// For the tests: a way to make a call of the platform layer fail as the
// system would (a full disk, another program's hold), or to end the process
// at a chosen call, as a power cut or a killed program would. Both sides of
// the platform layer ask before each call that changes a file or a folder;
// nothing in the programs installs a hook.
namespace mirvane::os {

enum class Call { Open, Create, Write, Flush, Move, Remove, CreateFolder, RemoveFolder };

// Decides whether the call on `path` fails, and how; it may also end the process.
using FaultHook = std::function<Failure(Call call, const std::filesystem::path& path)>;

// Installs a hook for as long as it lives.
class InjectedFaults {
  public:
    explicit InjectedFaults(FaultHook hook);
    ~InjectedFaults();
    InjectedFaults(const InjectedFaults&) = delete;
    InjectedFaults& operator=(const InjectedFaults&) = delete;
};

// The failure the installed hook asks of this call; none without a hook.
Failure injectedFault(Call call, const std::filesystem::path& path);

}  // namespace mirvane::os
