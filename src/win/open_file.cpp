#include "win/open_file.h"

#include <shellapi.h>

#include <cstdint>
#include <exception>
#include <string>

#include "base/windows/wide.h"
#include "win/message_box.h"

namespace mirvane::win {
namespace {

// ShellExecuteW's own codes, and the system errors it may give instead.
std::string reasonOf(std::intptr_t code) {
    switch (code) {
        case SE_ERR_FNF:
        case SE_ERR_PNF:
            return "el archivo no existe";
        case SE_ERR_ACCESSDENIED:
            return "no tiene permiso para usar el archivo";
        case SE_ERR_NOASSOC:
        case SE_ERR_ASSOCINCOMPLETE:
            return "no hay ningún programa asociado a este tipo de archivo";
        case 0:
        case SE_ERR_OOM:
            return "no hay memoria suficiente";
        default:
            return "error del sistema " + std::to_string(code);
    }
}

}  // namespace

void openWithDefaultProgram(HWND owner, const std::filesystem::path& file) {
    const HINSTANCE result =
        ShellExecuteW(owner, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values above 32 mean success; the rest are error codes in disguise.
    const auto code = reinterpret_cast<std::intptr_t>(result);
    if (code > 32) return;
    try {
        showErrorBox(
            owner, "No se puede abrir " + os::narrow(file.native()) + ": " + reasonOf(code) + ".");
    } catch (const std::exception&) {
        // Out of memory for the message: the user sees that nothing opened.
    }
}

}  // namespace mirvane::win
