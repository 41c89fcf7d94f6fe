#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Profile (INI) files, written the way the Windows profile functions do.
namespace mirvane::ini {

// Writes `key=value` under `[section]`: section and key are matched without
// regard to letter case; an existing key's line is replaced where it stands, a
// new key goes after the last entry of its section, a new section is appended
// at the end of the file. Every other byte is kept; a missing file is created.
// The file is replaced through a temporary file, never left truncated.
void writeInteger(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::int32_t value);

// The same edit on the file's bytes, for callers that hold them.
std::string withInteger(std::string_view contents, std::string_view section, std::string_view key,
                        std::int32_t value);

}  // namespace mirvane::ini
