#pragma once

#include <filesystem>
#include <vector>

// Windows' file virtualization, as the system reports it. Windows redirects
// the writes that an older 32-bit program without a manifest (Tablexa is one)
// makes into a protected folder to a copy under the user's VirtualStore,
// %LOCALAPPDATA%\VirtualStore\ followed by the path below the drive, and once
// that copy exists the program reads the copy instead of the file.
namespace mirvane::os {

struct Virtualization {
    // %ProgramFiles%, %ProgramFiles(x86)%, %ProgramData%, %SystemRoot%.
    std::vector<std::filesystem::path> protectedFolders;
    // The user's %LOCALAPPDATA%, which holds the VirtualStore.
    std::filesystem::path localAppData;
};

// Nothing where no program is virtualized: Wine, and Linux, have no
// VirtualStore and let each program read the file it wrote.
Virtualization fileVirtualization();

}  // namespace mirvane::os
