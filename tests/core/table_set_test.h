#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "support/testing.h"

// The work folder's tables as the timetabler would load them: for the tests
// that stop, kill and undo exports.
namespace mirvane::core::table_set_test {

inline std::filesystem::path exampleSchool() {
    return testing::sourceDir() / "examples" / "escuela" / "datos.xml";
}

// Every file directly in `folder`, by name, with its bytes; a table's date of
// last change (bytes 1 to 3) is left out, so that two runs of one day compare.
inline std::map<std::string, std::string> filesIn(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::string bytes = testing::readFile(entry.path());
        if (entry.path().extension() == ".DBF" && bytes.size() > 4) bytes.replace(1, 3, "...");
        files[entry.path().filename().string()] = bytes;
    }
    return files;
}

// Whether Mirvane's own folder holds nothing but the earlier set: no tables
// being written, no change under way.
inline bool nothingLeftOver(const std::filesystem::path& work) {
    const std::filesystem::path own = work / "Mirvane";
    return !std::filesystem::exists(own / "nuevo") && !std::filesystem::exists(own / "saliente") &&
           !std::filesystem::exists(own / "cambio-en-curso.txt");
}

}  // namespace mirvane::core::table_set_test
