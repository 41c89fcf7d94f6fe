#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Profile (INI) files, written the way the Windows profile functions do.
namespace mirvane::ini {

// Writes `key=value` under `[section]`: section and key are matched without
// regard to letter case; an existing key's line is replaced where it stands
// (the first section of the name is the one edited), a new key goes after the
// last entry of its section, a new section is appended at the end of the
// file. Every other byte is kept; a missing file is created.
// The file is replaced through a temporary file, never left truncated.
void writeInteger(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::int32_t value);

// The same edit on the file's bytes, for callers that hold them. The file keeps
// its encoding, as the Windows profile functions keep it: a file that starts
// with a UTF-16 byte-order mark (little- or big-endian) is edited in UTF-16, a
// UTF-8 mark is kept in front, anything else is single-byte text with its own
// line breaks. `section` and `key` are Windows-1252 text.
std::string withInteger(std::string_view contents, std::string_view section, std::string_view key,
                        std::int32_t value);

}  // namespace mirvane::ini
