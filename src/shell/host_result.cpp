#include "shell/host_result.h"

#include <string>
#include <vector>

#include "base/error.h"
#include "base/ini.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"

namespace mirvane::shell {
namespace {

// The names of a path, without the empty one a trailing separator leaves.
std::vector<std::string> namesOf(const std::filesystem::path& path) {
    std::vector<std::string> names;
    for (const auto& component : path.relative_path()) {
        const std::string name = paths::toUtf8(component);
        if (!name.empty()) names.push_back(text::fromUtf8(name));
    }
    return names;
}

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    if (!text::equalsIgnoreCase(paths::toUtf8(file.root_name()), paths::toUtf8(folder.root_name())))
        return false;
    const std::vector<std::string> fileNames = namesOf(file);
    const std::vector<std::string> folderNames = namesOf(folder);
    if (folderNames.empty() || fileNames.size() <= folderNames.size()) return false;
    for (std::size_t i = 0; i < folderNames.size(); ++i)
        if (!text::equalsIgnoreCase(fileNames[i], folderNames[i])) return false;
    return true;
}

void writeCode(const std::filesystem::path& file, std::int32_t code) {
    ini::writeInteger(file, kResultSection, kResultKey, code);
}

}  // namespace

std::filesystem::path virtualStoreCopy(const std::filesystem::path& file,
                                       const os::Virtualization& system) {
    if (system.localAppData.empty()) return {};
    for (const std::filesystem::path& folder : system.protectedFolders)
        if (isInside(file, folder))
            return system.localAppData / "VirtualStore" / file.relative_path();
    return {};
}

void writeResultCode(const std::filesystem::path& executableFolder,
                     const os::Virtualization& system, std::int32_t code) {
    // The host's own file whatever the letter case it gave it (Linux build).
    const std::filesystem::path file = paths::inFolder(executableFolder, kHostIniFile);
    const std::filesystem::path copy = paths::matchCase(virtualStoreCopy(file, system));
    if (copy.empty()) return writeCode(file, code);

    if (paths::kindOf(copy) == os::Kind::Regular) {
        writeCode(copy, code);  // what the host reads
        try {
            writeCode(file, code);  // for a host that is not virtualized
        } catch (const Error&) {
            // A standard user may not write there; the host reads the copy.
        }
        return;
    }
    try {
        writeCode(file, code);
    } catch (const Error& error) {
        if (error.cause() != os::Cause::NoPermission) throw;
        // Windows' copy on first write: the file as it was, with the entry set.
        std::string contents;
        if (paths::kindOf(file) == os::Kind::Regular) contents = readWholeFile(file);
        paths::createFolders(copy.parent_path());
        saveFileSafely(copy, ini::withInteger(contents, kResultSection, kResultKey, code));
    }
}

}  // namespace mirvane::shell
