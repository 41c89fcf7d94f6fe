#include "base/paths.h"

#include <cstdlib>

#include "base/error.h"
#include "base/text.h"

namespace mirvane::paths {

std::filesystem::path fromUtf8(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string toUtf8(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(reinterpret_cast<const char*>(utf8.data()), utf8.size());
}

os::Kind kindOf(const std::filesystem::path& path) {
    os::Failure failure;
    const os::Kind kind = os::kindOf(path, failure);
    if (failure) fail("No se puede acceder a " + toUtf8(path) + ": " + failure.reason + ".");
    return kind;
}

void createFolders(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& component : folder) {
        partial /= component;
        if (partial == partial.root_path()) continue;
        os::Failure failure;
        if (os::kindOf(partial, failure) == os::Kind::Directory) continue;
        if (!os::createFolder(partial, failure))
            fail("No se puede crear la carpeta " + toUtf8(partial) + ": " + failure.reason + ".",
                 failure.cause);
    }
}

std::filesystem::path driveC() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return fromUtf8(prefix) / "drive_c";
    const char* home = std::getenv("HOME");
    return fromUtf8(home && *home ? home : "/") / ".wine" / "drive_c";
}

std::filesystem::path fromWindows(std::string_view windowsPath) {
#ifdef _WIN32
    return fromUtf8(windowsPath);
#else
    std::string rest(windowsPath);
    std::filesystem::path result;
    if (rest.size() >= 2 && rest[1] == ':' && (rest[0] == 'c' || rest[0] == 'C')) {
        result = driveC();
        rest.erase(0, 2);
    }
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos) end = rest.size();
        if (end > start) result /= rest.substr(start, end - start);
        start = end + 1;
    }
    return matchCase(result);
#endif
}

std::filesystem::path matchCase(const std::filesystem::path& path) {
#ifdef _WIN32
    return path;  // the system itself matches without regard to case
#else
    std::filesystem::path result;
    bool matching = true;
    for (const auto& component : path) {
        const std::string name = component.string();
        if (result.empty() || !matching || name == "/" || name == "." || name == "..") {
            result /= component;
            continue;
        }
        // A failure here is left for the use of the path to report.
        os::Failure failure;
        if (os::kindOf(result / component, failure) != os::Kind::Missing || failure) {
            result /= component;
            matching = !failure;
            continue;
        }
        bool found = false;
        for (const std::string& candidate : os::listFolder(result, failure)) {
            if (text::equalsIgnoreCase(candidate, name)) {
                result /= candidate;
                found = true;
                break;
            }
        }
        if (!found) {
            result /= component;
            matching = false;
        }
    }
    return result;
#endif
}

std::filesystem::path inFolder(const std::filesystem::path& folder, std::string_view name) {
    return matchCase(folder / fromUtf8(name));
}

std::filesystem::path executableFolder() {
    const std::filesystem::path self = os::executableFile();
    if (self.empty()) {
        std::error_code ignored;
        return std::filesystem::current_path(ignored);
    }
    return self.parent_path();
}

}  // namespace mirvane::paths
