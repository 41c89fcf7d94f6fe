#include "win/dpi.h"

namespace mirvane::win {
namespace {

// A function of user32.dll that older systems lack, or null.
template <typename Function>
Function user32(const char* name) {
    static const HMODULE library = GetModuleHandleW(L"user32.dll");
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

UINT screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int scaled(int designed, UINT dpi) {
    return MulDiv(designed, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

RECT designed(int x, int y, int width, int height, UINT dpi) {
    return RECT{scaled(x, dpi), scaled(y, dpi), scaled(x + width, dpi), scaled(y + height, dpi)};
}

UINT dpiOf(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32<GetDpiForWindow>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi > 0 ? dpi : screenDpi();
}

SIZE windowSize(HWND window, SIZE client, UINT dpi) {
    using AdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32<AdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void adoptDpiAwarenessOf(HWND other) {
    using GetWindowDpiAwarenessContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using SetThreadDpiAwarenessContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const auto getAwareness = user32<GetWindowDpiAwarenessContext>("GetWindowDpiAwarenessContext");
    const auto setAwareness = user32<SetThreadDpiAwarenessContext>("SetThreadDpiAwarenessContext");
    if (!getAwareness || !setAwareness || !IsWindow(other)) return;
    if (const DPI_AWARENESS_CONTEXT awareness = getAwareness(other)) setAwareness(awareness);
}

}  // namespace mirvane::win
