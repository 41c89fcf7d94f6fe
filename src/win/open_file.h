#pragma once

#include <windows.h>

#include <filesystem>

// Opening a file with the program the system has for its kind, as a double
// click in Explorer does.
namespace mirvane::win {

// Starts the program and returns at once. A failure is shown in an error box
// owned by `owner` instead of being raised: the file is offered after its
// run has ended, and nothing is left to undo.
void openWithDefaultProgram(HWND owner, const std::filesystem::path& file);

}  // namespace mirvane::win
