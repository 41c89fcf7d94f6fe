#include "shell/busy_cursor.h"

namespace mirvane::shell {

BusyCursor::BusyCursor(Window& window) : window_(window) {
    window_.setBusyCursor(true);
}

BusyCursor::~BusyCursor() {
    restore();
}

void BusyCursor::restore() {
    if (!busy_) return;
    busy_ = false;
    window_.setBusyCursor(false);
}

}  // namespace mirvane::shell
