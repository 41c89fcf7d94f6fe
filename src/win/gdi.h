#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// Owned GDI objects and icons, and the measuring and drawing the two windows share.
namespace mirvane::win {

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The program's icon (resource 1), drawn for `size` pixels square.
Icon applicationIcon(int size);

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

// A device context of a window's client area, for measuring.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    operator HDC() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A font by face name; `height` is the designed character height (negative,
// as in LOGFONT), scaled to `dpi`.
Font makeFont(const wchar_t* face, int height, bool bold, UINT dpi);

// The default font of both windows: "MS Sans Serif" 8 pt, which Windows maps
// to "Microsoft Sans Serif".
Font defaultFont(bool bold, UINT dpi);

// Fills `area` with a vertical gradient from `top` through `middle` to `bottom`.
void fillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF middle, COLORREF bottom);

// Whether a label's text breaks into lines at its designed width.
enum class Wrap { No, Words };

// The pixel width of `text` in `font`.
int textWidth(HDC dc, const wchar_t* text, HFONT font);

// The place of a label designed at `area`, as its text needs it in `font`:
// `area`, or wider (for a line or a word that does not fit) and taller (for
// more lines than it has room for), from the same top left corner.
RECT labelArea(HDC dc, const RECT& area, const wchar_t* text, HFONT font, Wrap wrap);

// Text drawn straight onto the background in `area`, which labelArea sized.
void drawLabel(HDC dc, const RECT& area, const wchar_t* text, HFONT font, COLORREF colour,
               Wrap wrap);

}  // namespace mirvane::win
