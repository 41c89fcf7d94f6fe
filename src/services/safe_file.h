#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mirvane {

// Replaces `target` with `bytes` as one step: the bytes go to a temporary file
// in the target's folder, are flushed to disk, and the temporary file is
// renamed over the target. On any failure the temporary file is removed and an
// earlier target stays as it was. Raises mirvane::Error naming the file.
void saveFileSafely(const std::filesystem::path& target, std::string_view bytes);

// The whole file as bytes; raises mirvane::Error naming the file.
std::string readWholeFile(const std::filesystem::path& file);

}  // namespace mirvane
