#include "win/gdi.h"

#include <algorithm>
#include <array>

#include "win/dpi.h"

namespace mirvane::win {
namespace {

TRIVERTEX vertex(LONG x, LONG y, COLORREF colour) {
    return TRIVERTEX{x,
                     y,
                     static_cast<COLOR16>(GetRValue(colour) << 8),
                     static_cast<COLOR16>(GetGValue(colour) << 8),
                     static_cast<COLOR16>(GetBValue(colour) << 8),
                     0};
}

UINT labelFormat(Wrap wrap) {
    return wrap == Wrap::Words ? DT_WORDBREAK : DT_SINGLELINE;
}

}  // namespace

Icon applicationIcon(int size) {
    return Icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
}

Font makeFont(const wchar_t* face, int height, bool bold, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = scaled(height, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return Font(CreateFontIndirectW(&font));
}

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontInstalled(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    const HDC screen = GetDC(nullptr);
    bool found = false;
    EnumFontFamiliesExW(screen, &wanted, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

Font defaultFont(bool bold, UINT dpi) {
    // Tahoma, of the same metrics, where the system lacks it (as Wine does).
    static const wchar_t* const face =
        fontInstalled(L"Microsoft Sans Serif") ? L"Microsoft Sans Serif" : L"Tahoma";
    return makeFont(face, -11, bold, dpi);
}

void fillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF middle, COLORREF bottom) {
    const LONG half = area.top + (area.bottom - area.top) / 2;
    std::array<TRIVERTEX, 4> vertices = {
        vertex(area.left, area.top, top), vertex(area.right, half, middle),
        vertex(area.left, half, middle), vertex(area.right, area.bottom, bottom)};
    std::array<GRADIENT_RECT, 2> rects = {GRADIENT_RECT{0, 1}, GRADIENT_RECT{2, 3}};
    GradientFill(dc, vertices.data(), static_cast<ULONG>(vertices.size()), rects.data(),
                 static_cast<ULONG>(rects.size()), GRADIENT_FILL_RECT_V);
}

int textWidth(HDC dc, const wchar_t* text, HFONT font) {
    const Selected selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size.cx;
}

RECT labelArea(HDC dc, const RECT& area, const wchar_t* text, HFONT font, Wrap wrap) {
    const Selected selected(dc, font);
    RECT needed = area;
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_NOPREFIX | labelFormat(wrap));
    return RECT{area.left, area.top, std::max(area.right, needed.right),
                std::max(area.bottom, needed.bottom)};
}

void drawLabel(HDC dc, const RECT& area, const wchar_t* text, HFONT font, COLORREF colour,
               Wrap wrap) {
    const Selected selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT box = area;
    DrawTextW(dc, text, -1, &box, DT_NOPREFIX | labelFormat(wrap));
}

}  // namespace mirvane::win
