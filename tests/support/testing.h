#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Helpers shared by the test programs.
namespace mirvane::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// The repository's root folder (for tests/data and examples).
std::filesystem::path sourceDir();
// The folder of the built programs (mirvane-cli).
std::filesystem::path binDir();

void writeFile(const std::filesystem::path& file, std::string_view bytes);
std::string readFile(const std::filesystem::path& file);

struct CommandResult {
    int status = -1;     // exit status, or -1 when the command did not exit normally
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs a shell command line and collects what it prints.
CommandResult run(const std::string& commandLine);

// Quotes a text for the shell.
std::string shellQuote(std::string_view text);

// This build's mirvane-cli, quoted for the shell.
std::string cliCommand();

// Debian's own Python, which has python3-dbf and python3-dbfread (the first
// python3 on PATH may be another one).
inline constexpr const char* kDebianPython = "/usr/bin/python3";

}  // namespace mirvane::testing
