/* A stand-in for hhctrl.ocx in the Windows tests: its HtmlHelpA shows nothing
 * and appends each call to the file named by MIRVANE_HTMLHELP_LOG, one line
 * per call: command, data, then the file text ("-" when there is none).
 * HH_DISPLAY_INDEX's data is a keyword text and is logged as that text.
 * Under Wine it is only loaded with WINEDLLOVERRIDES=hhctrl.ocx=n. */

#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#define HH_DISPLAY_INDEX 2

__declspec(dllexport) HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
    const char* logName = getenv("MIRVANE_HTMLHELP_LOG");
    FILE* log = logName ? fopen(logName, "a") : NULL;
    (void)owner;
    if (!log) return NULL;
    if (command == HH_DISPLAY_INDEX)
        fprintf(log, "%u %s %s\n", command, data ? (const char*)data : "-", file ? file : "-");
    else
        fprintf(log, "%u %lu %s\n", command, (unsigned long)data, file ? file : "-");
    fclose(log);
    return NULL;
}
