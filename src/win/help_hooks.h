#pragma once

#include <windows.h>

// Where the main window hands its help requests: the "F1 AYUDA" button asks
// for the contents, F1 for the help context of the control that has it.
namespace mirvane::win {

void showHelpContents(HWND owner);
void showHelpContext(HWND owner, int context);

}  // namespace mirvane::win
