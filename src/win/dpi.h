#pragma once

#include <windows.h>

// Lengths designed at 96 dots per inch, and the DPI each window has. The
// per-window DPI functions came with Windows 10 (1607): they are looked up
// at run time, and an older system gets the screen's DPI instead.
namespace mirvane::win {

// Pixels at `dpi` for a length designed at 96 dots per inch.
int scaled(int designed, UINT dpi);

// A rectangle designed at 96 dots per inch, in pixels at `dpi`.
RECT designed(int x, int y, int width, int height, UINT dpi);

// The DPI `window` is drawn at: its monitor's for a window aware of each
// monitor, 96 for a window the system stretches as a bitmap.
UINT dpiOf(HWND window);

// The size of `window` that holds a client area of `client` at `dpi`, with
// the frame its styles now give it measured at that DPI.
SIZE windowSize(HWND window, SIZE client, UINT dpi);

// Makes the windows this thread creates from now on scale as `other` does
// (the system's stretching of a DPI-unaware window included). Nothing where
// the system cannot tell a window's DPI awareness, or `other` is no window.
void adoptDpiAwarenessOf(HWND other);

}  // namespace mirvane::win
