// Holds a file open the way Tablexa holds its tables (no sharing at all)
// until its standard input closes, so that tests can start a second program
// against a table held elsewhere. Prints "abierto" once the file is held.
//
//   hold-open FILE

#include <windows.h>

#include <cstdio>

#include "owned_handle.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("uso: hold-open FILE\n", stderr);
        return 2;
    }
    mirvane::testing::OwnedHandle file(::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE,
                                                     0 /* no sharing */, nullptr, OPEN_EXISTING,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        std::fprintf(stderr, "hold-open: error %lu\n", ::GetLastError());
        return 1;
    }
    // Straight to the handle: the C runtime's text mode would add a CR.
    const char held[] = "abierto\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), held, sizeof held - 1, &written, nullptr);

    char buffer[64];
    DWORD read = 0;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    while (::ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    }
    return 0;
}
