// The folders come from the system's known folders, not from the environment:
// the environment is whatever the starting program passed on, while the known
// folders are where the system itself keeps them, and name each one outright
// (a 32-bit program reads %ProgramFiles% as the x86 folder).

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "base/os_virtualization.h"

namespace mirvane::os {
namespace {

// A known folder's path; empty when the system has none.
std::filesystem::path knownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path);  // also when the call failed
    return folder;
}

}  // namespace

Virtualization fileVirtualization() {
    Virtualization system;
    for (const KNOWNFOLDERID& id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86,
                                    FOLDERID_ProgramData, FOLDERID_Windows}) {
        std::filesystem::path folder = knownFolder(id);
        if (!folder.empty()) system.protectedFolders.push_back(std::move(folder));
    }
    system.localAppData = knownFolder(FOLDERID_LocalAppData);
    return system;
}

}  // namespace mirvane::os
