#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/os_file.h"

// The program's fixed Windows paths on the running system. On Windows they are
// used as they are. Elsewhere C:\ is drive C of the Wine prefix in which the
// timetabler runs ($WINEPREFIX/drive_c, by default ~/.wine/drive_c), and each
// path component is matched without regard to letter case, as Windows does.
namespace mirvane::paths {

// The work folder C:\KTEMP and the file dialog's initial folder.
inline constexpr std::string_view kWorkFolder = "C:\\KTEMP";
inline constexpr std::string_view kDialogFolder = "c:\\ktemp\\delphos";

// A path from UTF-8 text, the program's own (never the ANSI code page of
// Windows), and back: what messages show.
std::filesystem::path fromUtf8(std::string_view utf8);
std::string toUtf8(const std::filesystem::path& path);

// What a path names; a path through a regular file names nothing. Any other
// failure (a loop of symbolic links, no permission) raises mirvane::Error
// naming the path.
os::Kind kindOf(const std::filesystem::path& path);

// Creates `folder` and every missing folder above it. A failure raises
// mirvane::Error naming the folder.
void createFolders(const std::filesystem::path& folder);

// Drive C of the Wine prefix (not used on Windows).
std::filesystem::path driveC();

// A Windows path ("C:\KTEMP\ASIGNOMT.DBF") on this system.
std::filesystem::path fromWindows(std::string_view windowsPath);

// Each component of `path` replaced by an existing entry of its folder whose
// name equals it without regard to letter case; a component that does not
// exist keeps the case given (and so do the ones after it).
std::filesystem::path matchCase(const std::filesystem::path& path);

// `name` in `folder`, matched without regard to letter case.
std::filesystem::path inFolder(const std::filesystem::path& folder, std::string_view name);

// The folder of the running executable.
std::filesystem::path executableFolder();

}  // namespace mirvane::paths
