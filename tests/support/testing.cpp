#include "support/testing.h"

#ifdef _WIN32
#include <random>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace mirvane::testing {

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp: a random name, taken only when the folder did not exist.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            std::filesystem::temp_directory_path() / ("mirvane-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("no temporary folder could be created");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "mirvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path sourceDir() {
    if (const char* dir = std::getenv("MIRVANE_SOURCE_DIR"); dir && *dir) return dir;
    return MIRVANE_SOURCE_DIR;
}

std::filesystem::path binDir() {
    if (const char* dir = std::getenv("MIRVANE_BIN_DIR"); dir && *dir) return dir;
    return MIRVANE_BIN_DIR;
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::string shellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string cliCommand() {
    return shellQuote((binDir() / "mirvane-cli").string());
}

CommandResult run(const std::string& commandLine) {
    TempDir capture;
    const auto out = capture / "stdout";
    const auto err = capture / "stderr";
    CommandResult result;
#ifdef _WIN32
    // cmd.exe: only the cases the Windows suite leaves out use the shell.
    const std::string full =
        commandLine + " >\"" + out.string() + "\" 2>\"" + err.string() + "\" <NUL";
    result.status = std::system(full.c_str());
#else
    const std::string full = "( " + commandLine + " ) >" + shellQuote(out.string()) + " 2>" +
                             shellQuote(err.string()) + " </dev/null";
    const int raw = std::system(full.c_str());
    if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
#endif
    result.output = readFile(out);
    result.errors = readFile(err);
    return result;
}

}  // namespace mirvane::testing
