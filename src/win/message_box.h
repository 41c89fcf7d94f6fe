#pragma once

#include <windows.h>

#include <string_view>

// The program's modal boxes, captioned with the application title.
namespace mirvane::win {

inline constexpr wchar_t kApplicationTitle[] = L"Mirvane";

void showInformationBox(HWND owner, std::string_view message);
void showErrorBox(HWND owner, std::string_view message);
// A question with "Sí" and "No", as the system names them: true for "Sí".
bool askYesNoBox(HWND owner, std::string_view question);

}  // namespace mirvane::win
