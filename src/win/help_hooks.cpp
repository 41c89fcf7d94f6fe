#include "win/help_hooks.h"

namespace mirvane::win {

// The help bridge fills these in; until then help requests show nothing,
// as they do when the help file is missing.
void showHelpContents(HWND) {}
void showHelpContext(HWND, int) {}

}  // namespace mirvane::win
