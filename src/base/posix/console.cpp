#include <cstdio>

#include "base/os_console.h"

namespace mirvane::os {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);  // already UTF-8
}

void writeConsole(Stream stream, std::string_view utf8) {
    std::FILE* file = stream == Stream::Output ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fflush(file);
}

}  // namespace mirvane::os
