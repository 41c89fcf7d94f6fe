#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// Owned GDI objects and window handles, and the drawing the two windows share.
namespace mirvane::win {

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

// Selects an object into a device context until the end of the scope.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, previous_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Pixels at the screen's resolution for a length designed at 96 dots per inch.
int scaled(int designed, UINT dpi);
UINT screenDpi();
// Registers a window class of this program, with the arrow cursor and
// `icon` (none when null); each window sets its own procedure once made.
// False when the system refuses.
bool registerWindowClass(const wchar_t* className, HICON icon);

// A rectangle designed at 96 dots per inch, in pixels at `dpi`.
RECT designed(int x, int y, int width, int height, UINT dpi);

// A font by face name; `height` is the designed character height (negative,
// as in LOGFONT), scaled to `dpi`.
Font makeFont(const wchar_t* face, int height, bool bold, UINT dpi);

// The default font of both windows: "MS Sans Serif" 8 pt, which Windows maps
// to "Microsoft Sans Serif".
Font defaultFont(bool bold, UINT dpi);

// Fills `area` with a vertical gradient from `top` through `middle` to `bottom`.
void fillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF middle, COLORREF bottom);

// Text drawn straight onto the background, word-wrapped in `area`.
void drawLabel(HDC dc, const RECT& area, const wchar_t* text, HFONT font, COLORREF colour);

}  // namespace mirvane::win
