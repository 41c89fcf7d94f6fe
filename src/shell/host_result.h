#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// The run result code handed to the host timetabler through its INI file,
// which it reads once the program has ended.
namespace mirvane::shell {

// The only values ever written.
inline constexpr std::int32_t kResultStart = 0;  // also: an import that found no file
inline constexpr std::int32_t kResultCompleted = 1;
inline constexpr std::int32_t kResultExportWithoutFile = -1;

// The host's INI file, beside the executable, and where the code goes in it.
inline constexpr std::string_view kHostIniFile = "Tablexa.ini";
inline constexpr std::string_view kResultSection = "Transformadores";
inline constexpr std::string_view kResultKey = "Transformado";

// Writes `code` into the host's INI file in `executableFolder`, creating the
// file when missing and keeping every other byte of it.
void writeResultCode(const std::filesystem::path& executableFolder, std::int32_t code);

}  // namespace mirvane::shell
