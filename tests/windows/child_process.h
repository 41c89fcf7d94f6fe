#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "owned_handle.h"

namespace mirvane::testing {

// A program started with pipes on its standard streams (output and errors
// share one pipe); waited for and closed when its owner goes.
class ChildProcess {
  public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::wstring>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads the output up to and including the next end of line ("" at its end).
    std::string readLine();
    // Closes the program's standard input.
    void closeInput() { input_.reset(); }
    // Closes its input, reads the rest of its output and waits for it to end.
    int finish(std::string& output);

  private:
    OwnedHandle process_;
    OwnedHandle input_;
    OwnedHandle output_;
};

}  // namespace mirvane::testing
