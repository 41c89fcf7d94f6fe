#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "base/os_virtualization.h"

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

// The copy of `file` that a program Windows virtualizes reads instead of it:
// the same path below the drive, in the VirtualStore of the user's local
// application data. Empty when `file` lies in none of the protected folders
// (compared by whole names, without regard to letter case, as Windows does).
std::filesystem::path virtualStoreCopy(const std::filesystem::path& file,
                                       const os::Virtualization& system);

// Writes `code` into the host's INI file in `executableFolder`, creating the
// file when missing and keeping every other byte of it. Where the host is
// virtualized it writes what Windows would have the host read: an existing
// VirtualStore copy, and the file itself too where it can be written; and
// when the file refuses writing for want of permission, a new VirtualStore
// copy of it with the code set, as Windows copies a file on its first write.
void writeResultCode(const std::filesystem::path& executableFolder,
                     const os::Virtualization& system, std::int32_t code);

}  // namespace mirvane::shell
