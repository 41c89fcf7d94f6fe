#include "win/start_hour_dialog.h"

#include <algorithm>

#include "base/error.h"

namespace mirvane::win {
namespace {

constexpr wchar_t kClassName[] = L"TFormInicioClase";
constexpr int kButton1 = IDOK;
constexpr int kMEHora0 = 101;
constexpr COLORREF kFieldBackground = RGB(255, 255, 221);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr wchar_t kExplica[] = L"Debe indica la Hora de Inicio de la primera clase en el Centro.";

int textWidth(HDC dc, const wchar_t* text, HFONT font) {
    const Selected selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size.cx;
}

void registerClass() {
    static const bool registered = registerWindowClass(kClassName, nullptr);
    if (!registered) fail("No se pudo crear la ventana de la hora de inicio de las clases");
}

// Keeps the owner from taking input while the prompt is up.
class DisabledOwner {
  public:
    explicit DisabledOwner(HWND owner) : owner_(owner) { EnableWindow(owner_, FALSE); }
    ~DisabledOwner() { EnableWindow(owner_, TRUE); }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

  private:
    HWND owner_;
};

}  // namespace

FormInicioClase::FormInicioClase(HWND owner, const bool& busy)
    : owner_(owner),
      busy_(busy),
      dpi_(screenDpi()),
      font_(defaultFont(false, dpi_)),
      boldFont_(defaultFont(true, dpi_)),
      fieldBrush_(CreateSolidBrush(kFieldBackground)) {
    registerClass();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame = designed(0, 0, 307, 106, dpi_);
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    window_.reset(CreateWindowExW(exStyle, kClassName, L"Hora de Inicio de las Clases", style,
                                  scaled(464, dpi_), scaled(425, dpi_), frame.right - frame.left,
                                  frame.bottom - frame.top, owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!window_) fail("No se pudo crear la ventana de la hora de inicio de las clases");
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    createControls();
}

void FormInicioClase::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto control = [&](const wchar_t* kind, const wchar_t* text, DWORD style, RECT at, int id,
                       HFONT font) {
        const HWND child =
            CreateWindowExW(id == kMEHora0 ? WS_EX_CLIENTEDGE : 0, kind, text,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, at.left, at.top,
                            at.right - at.left, at.bottom - at.top, window_.get(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!child) fail("No se pudo crear la ventana de la hora de inicio de las clases");
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return child;
    };
    // Created in tab order: "Continuar" first, so it has the focus at opening.
    continuar_ = control(L"BUTTON", L"Continuar", BS_DEFPUSHBUTTON, designed(208, 72, 75, 25, dpi_),
                         kButton1, boldFont_.get());
    hora_ = control(L"EDIT", L"", ES_LEFT | ES_AUTOHSCROLL, designed(227, 35, 44, 19, dpi_),
                    kMEHora0, boldFont_.get());
    // The five characters need all of the field's narrow width.
    SendMessageW(hora_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
    MEHora0_ = std::make_unique<HourEdit>(hora_, exporting::kInitialStartHour);
}

std::string FormInicioClase::showAndRead() {
    {
        const DisabledOwner disabled(owner_);
        closed_ = false;
        ShowWindow(window_.get(), SW_SHOW);
        SetForegroundWindow(window_.get());
        SetFocus(continuar_);
        MSG message;
        while (!closed_) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got <= 0) {
                // The program is ending: leave the quit for the main loop.
                if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (IsDialogMessageW(window_.get(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        ShowWindow(window_.get(), SW_HIDE);
    }
    return MEHora0_->text();
}

LRESULT CALLBACK FormInicioClase::windowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* form = reinterpret_cast<FormInicioClase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->handle(message, wParam, lParam);
}

LRESULT FormInicioClase::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_.get();
    switch (message) {
        case WM_COMMAND:
            // Button1Click, or Enter accepted by the field: the dialog closes,
            // unless the field, left by this click, refuses to be left.
            if (LOWORD(wParam) == kButton1 && MEHora0_->acceptLeaving()) closed_ = true;
            return 0;
        case WM_CLOSE:
            // The close box reads the time the same way as "Continuar".
            closed_ = true;
            return 0;
        case WM_HELP:
            // Nothing on this form has a help context: F1 shows nothing here,
            // rather than going on to the main window that owns it.
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_CTLCOLOREDIT: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kRed);
            SetBkColor(dc, kFieldBackground);
            return reinterpret_cast<LRESULT>(fieldBrush_.get());
        }
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void FormInicioClase::paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window_.get(), &paint);
    RECT client;
    GetClientRect(window_.get(), &client);
    // Draw3DIniClase: red at the bottom fading to white at the top.
    fillGradient(dc, client, RGB(255, 255, 255), RGB(255, 128, 128), kRed);

    // LabelExplica grows to its text when the font Windows maps to is wider
    // than the one it was laid out with.
    RECT explica = designed(8, 8, 291, 13, dpi_);
    explica.right = std::max(explica.right, explica.left + textWidth(dc, kExplica, font_.get()));
    const Brush cyan(CreateSolidBrush(RGB(193, 255, 255)));
    FillRect(dc, &explica, cyan.get());
    drawLabel(dc, explica, L"Debe indica la Hora de Inicio de la primera clase en el Centro.",
              font_.get(), RGB(0, 0, 0));

    const RECT iniClase = designed(8, 32, 198, 26, dpi_);
    FillRect(dc, &iniClase, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    drawLabel(dc, iniClase, L"Hora de Inicio de la Primera Clase: (Formato HH:MM)", boldFont_.get(),
              RGB(0, 0, 0));
    EndPaint(window_.get(), &paint);
}

}  // namespace mirvane::win
