#include "core/chosen_file.h"

#include "base/paths.h"

namespace mirvane::core {

bool chosenFileExists(const std::filesystem::path& file) {
    if (file.empty()) return false;
    return paths::kindOf(file) == os::Kind::Regular;
}

}  // namespace mirvane::core
