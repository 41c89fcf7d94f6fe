// A stand-in for hhctrl.ocx in the Windows tests: its HtmlHelpA shows nothing
// and appends each call to the file named by MIRVANE_HTMLHELP_LOG, one line
// per call: owner window, command, data, then the file text ("-" when there
// is none).
// HH_DISPLAY_INDEX's data is a keyword text and is logged as that text.
// Under Wine it is only loaded with WINEDLLOVERRIDES=hhctrl.ocx=n in the
// environment Wine starts with.

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <windows.h>

constexpr UINT HH_DISPLAY_INDEX = 2;

struct ClosesFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
    const char* logName = std::getenv("MIRVANE_HTMLHELP_LOG");
    const std::unique_ptr<std::FILE, ClosesFile> logFile(logName ? std::fopen(logName, "a")
                                                                 : nullptr);
    std::FILE* const log = logFile.get();
    if (!log) return nullptr;
    if (command == HH_DISPLAY_INDEX)
        std::fprintf(log, "%lu %u %s %s\n",
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)), command,
                     data ? reinterpret_cast<const char*>(data) : "-", file ? file : "-");
    else
        std::fprintf(log, "%lu %u %lu %s\n",
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)), command,
                     static_cast<unsigned long>(data), file ? file : "-");
    return nullptr;
}
