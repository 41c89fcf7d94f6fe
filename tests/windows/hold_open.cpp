// Holds a file open the way Tablexa holds its tables (no sharing at all), so
// that tests can start a second program against a file held elsewhere.
// Prints "abierto" once the file is held.
//
//   hold-open FILE
//       until its standard input closes;
//   hold-open FILE SIGN MILLISECONDS
//       until MILLISECONDS after a file matching SIGN (a path, wildcards
//       allowed) appears, as a scanner holds a file for a moment: the sign
//       tells that the program under test has reached the held file;
//   hold-open --al-aparecer FILE SIGN MILLISECONDS
//       the same, but the file is opened only once SIGN appears, for a file
//       the program under test must find free before it gets there. Prints
//       "esperando" at once.

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cwchar>

#include "owned_handle.h"

namespace {

// Whether the standard input, a pipe, is still open.
bool inputOpen() {
    return ::PeekNamedPipe(::GetStdHandle(STD_INPUT_HANDLE), nullptr, 0, nullptr, nullptr,
                           nullptr) != 0;
}

bool exists(const wchar_t* pattern) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return true;
}

}  // namespace

template <std::size_t N>
void say(const char (&text)[N]) {
    // Straight to the handle: the C runtime's text mode would add a CR.
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, N - 1, &written, nullptr);
}

int wmain(int argc, wchar_t** argv) {
    const bool onSign = argc == 5 && std::wcscmp(argv[1], L"--al-aparecer") == 0;
    if (onSign) {
        --argc;
        ++argv;
        say("esperando\n");
        while (!exists(argv[2]) && inputOpen()) ::Sleep(1);
    }
    if (argc != 2 && argc != 4) {
        std::fputs("uso: hold-open [--al-aparecer] FILE [SIGN MILLISECONDS]\n", stderr);
        return 2;
    }
    mirvane::testing::OwnedHandle file(::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE,
                                                     0 /* no sharing */, nullptr, OPEN_EXISTING,
                                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        std::fprintf(stderr, "hold-open: error %lu\n", ::GetLastError());
        return 1;
    }
    if (!onSign) say("abierto\n");

    if (argc == 4) {
        while (!exists(argv[2]) && inputOpen()) ::Sleep(2);
        ::Sleep(static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
        return 0;
    }
    char buffer[64];
    DWORD read = 0;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    while (::ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    }
    return 0;
}
