#pragma once

#include <string>
#include <string_view>
#include <vector>

// The console of a command-line program. On Windows the arguments are read
// as wide characters, so accented names arrive intact, and text goes to a
// console as wide characters, which cmd.exe and PowerShell show right
// whatever their code page; redirected to a file or a pipe it stays UTF-8.
namespace mirvane::os {

// The program's arguments, the program's name first, as UTF-8.
std::vector<std::string> commandLineArguments(int argc, char** argv);

enum class Stream { Output, Errors };

// Writes UTF-8 text to standard output or standard error.
void writeConsole(Stream stream, std::string_view utf8);

}  // namespace mirvane::os
