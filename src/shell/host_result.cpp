#include "shell/host_result.h"

#include "base/ini.h"
#include "base/paths.h"

namespace mirvane::shell {

void writeResultCode(const std::filesystem::path& executableFolder, std::int32_t code) {
    // The host's own file whatever the letter case it gave it (Linux build).
    ini::writeInteger(paths::inFolder(executableFolder, kHostIniFile), kResultSection, kResultKey,
                      code);
}

}  // namespace mirvane::shell
