#include "base/paths.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "base/text.h"

namespace mirvane::paths {
namespace {

// Equality of file names without regard to letter case (ASCII and Windows-1252
// letters; Wine compares Unicode case, which agrees on the names we use).
bool sameName(const std::string& a, const std::string& b) {
    return text::equalsIgnoreCase(a, b);
}

}  // namespace

std::filesystem::path driveC() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return std::filesystem::path(prefix) / "drive_c";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/") / ".wine" / "drive_c";
}

std::filesystem::path fromWindows(std::string_view windowsPath) {
#ifdef _WIN32
    return std::filesystem::path(std::string(windowsPath));
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
    return path;
#else
    std::filesystem::path result;
    bool matching = true;
    for (const auto& component : path) {
        const std::string name = component.string();
        if (result.empty() || !matching || name == "/" || name == "." || name == "..") {
            result /= component;
            continue;
        }
        std::error_code error;
        if (std::filesystem::exists(result / component, error)) {
            result /= component;
            continue;
        }
        bool found = false;
        for (const auto& entry : std::filesystem::directory_iterator(result, error)) {
            const std::string candidate = entry.path().filename().string();
            if (sameName(candidate, name)) {
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
    return matchCase(folder / std::string(name));
}

std::filesystem::path executableFolder() {
#ifdef _WIN32
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(std::string(buffer, length)).parent_path();
#else
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return self.parent_path();
#endif
}

}  // namespace mirvane::paths
