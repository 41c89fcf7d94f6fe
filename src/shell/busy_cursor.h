#pragma once

#include "shell/window.h"

namespace mirvane::shell {

// The hourglass for the life of the object: restored on every path out of a
// run, errors included, so a failed run never leaves the screen busy.
class BusyCursor {
  public:
    explicit BusyCursor(Window& window);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Back to the default cursor now, before the object ends.
    void restore();

  private:
    Window& window_;
    bool busy_ = true;
};

}  // namespace mirvane::shell
