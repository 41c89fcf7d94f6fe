#include "support/programs.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "base/paths.h"

namespace mirvane::bench {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "mirvane-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

double runProgram(const std::vector<std::string>& arguments, const fs::path& scratch) {
    const fs::path peakFile = scratch / "peak.txt";
    std::vector<std::string> command = {"/usr/bin/time", "-f", "%M", "-o", peakFile.string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) std::_Exit(127);
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(arguments[0] + " failed");
    std::ifstream peak(peakFile);
    double kilobytes = 0;
    peak >> kilobytes;
    return kilobytes / 1024.0;
}

std::string programPath(const std::string& name) {
    return (paths::executableFolder() / name).string();
}

void timeProgram(benchmark::State& state, const std::vector<std::string>& arguments,
                 const fs::path& scratch) {
    double peak = 0;
    for (auto _ : state) peak = runProgram(arguments, scratch);
    state.counters["peak_MB"] = peak;
}

void timeXmllint(benchmark::State& state, const std::string& mode, const fs::path& document,
                 const fs::path& scratch) {
    std::vector<std::string> arguments = {"/usr/bin/xmllint"};
    if (mode != "--noout") arguments.push_back(mode);
    arguments.push_back("--noout");
    arguments.push_back(document.string());
    timeProgram(state, arguments, scratch);
    countDocumentBytes(state, document);
}

void registerXmllintAnchors(const std::function<fs::path(const std::string&)>& document,
                            const std::function<fs::path()>& scratch) {
    // A whole DOM (the floor), libxml2's reader, one SAX pass.
    for (const auto& [name, mode] : {std::pair{"dom", "--noout"}, std::pair{"stream", "--stream"},
                                     std::pair{"sax", "--sax"}}) {
        benchmark::RegisterBenchmark(("BM_Xmllint/" + std::string(name)).c_str(),
                                     [=, mode = std::string(mode)](benchmark::State& state) {
                                         const std::string size = sizeName(state);
                                         timeXmllint(state, mode, document(size), scratch());
                                         state.SetLabel(size);
                                     })
            ->Arg(0)
            ->Arg(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

void countDocumentBytes(benchmark::State& state, const fs::path& document) {
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(fs::file_size(document)));
}

const char* sizeName(const benchmark::State& state) {
    return state.range(0) == 0 ? "school" : "stress";
}

}  // namespace mirvane::bench
