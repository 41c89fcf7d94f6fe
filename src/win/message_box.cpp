#include "win/message_box.h"

#include "win/wide.h"

namespace mirvane::win {

void showInformationBox(HWND owner, std::string_view message) {
    MessageBoxW(owner, toWide(message).c_str(), kApplicationTitle, MB_OK | MB_ICONINFORMATION);
}

void showErrorBox(HWND owner, std::string_view message) {
    MessageBoxW(owner, toWide(message).c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

}  // namespace mirvane::win
