#include "win/message_box.h"

#include "base/windows/wide.h"

namespace mirvane::win {

void showInformationBox(HWND owner, std::string_view message) {
    MessageBoxW(owner, os::widen(message).c_str(), kApplicationTitle, MB_OK | MB_ICONINFORMATION);
}

void showErrorBox(HWND owner, std::string_view message) {
    MessageBoxW(owner, os::widen(message).c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

bool askYesNoBox(HWND owner, std::string_view question) {
    return MessageBoxW(owner, os::widen(question).c_str(), kApplicationTitle,
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace mirvane::win
