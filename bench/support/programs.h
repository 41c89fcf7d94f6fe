#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// What the benchmarks share: a temporary folder for the generated schools,
// the two sizes, and running a program to its end to learn its peak memory.
namespace mirvane::bench {

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Runs the program (arguments[0], by path) with its standard output thrown
// away, under /usr/bin/time, and returns its peak resident memory in MB. The
// rusage of a child forked straight from the benchmark would count the
// benchmark's own memory, which the child holds until it execs. Throws when
// the program fails.
double runProgram(const std::vector<std::string>& arguments, const std::filesystem::path& scratch);

// The program beside the benchmark in the build's bin folder.
std::string programPath(const std::string& name);

// A benchmark's body for a program: runProgram once per iteration, with the
// last peak as the counter peak_MB.
void timeProgram(benchmark::State& state, const std::vector<std::string>& arguments,
                 const std::filesystem::path& scratch);

// timeProgram for xmllint reading `document` in one of its modes: "--noout"
// (a whole DOM: the floor), "--stream" (its reader) or "--sax" (one SAX pass),
// each with --noout. The document's size is counted as bytes processed, so
// that the throughput of both sizes shows how the cost grows.
void timeXmllint(benchmark::State& state, const std::string& mode,
                 const std::filesystem::path& document, const std::filesystem::path& scratch);

// Registers the three xmllint anchors on both sizes, reading the document
// that `document` names for a size, with `scratch` as timeProgram's folder.
void registerXmllintAnchors(
    const std::function<std::filesystem::path(const std::string& size)>& document,
    const std::function<std::filesystem::path()>& scratch);

// Counts the document's bytes once per iteration, for the throughput figure.
void countDocumentBytes(benchmark::State& state, const std::filesystem::path& document);

// The generated school a size benchmark runs on: Arg(0) "school", Arg(1) "stress".
const char* sizeName(const benchmark::State& state);

}  // namespace mirvane::bench
