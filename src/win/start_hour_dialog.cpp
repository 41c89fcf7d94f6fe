#include "win/start_hour_dialog.h"

#include <algorithm>

#include "base/error.h"
#include "win/dpi.h"

namespace mirvane::win {
namespace {

constexpr wchar_t kClassName[] = L"TFormInicioClase";
constexpr char kCreationFailure[] =
    "No se pudo crear la ventana de la hora de inicio de las clases";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kButton1 = IDOK;
constexpr int kMEHora0 = 101;
constexpr int kLabelExplica = 102;
constexpr int kLabelIniClase = 103;
constexpr COLORREF kFieldBackground = RGB(255, 255, 221);
constexpr COLORREF kExplicaBackground = RGB(193, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr wchar_t kExplica[] = L"Debe indica la Hora de Inicio de la primera clase en el Centro.";
constexpr wchar_t kIniClase[] = L"Hora de Inicio de la Primera Clase: (Formato HH:MM)";

// The designed layout, at 96 dots per inch.
constexpr int kClientWidth = 307;
constexpr int kClientHeight = 106;
constexpr int kMargin = 8;  // right of LabelExplica, and below "Continuar" (9)
constexpr POINT kDesignedPlace{464, 425};

void registerOnce() {
    static const bool registered = BoundWindow::registerClass(kClassName, nullptr);
    if (!registered) fail(kCreationFailure);
}

void place(HWND control, const RECT& at, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// `at`, moved as little as needed to lie whole on the work area of its monitor.
POINT onScreen(POINT at, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor)) return at;
    const RECT& work = monitor.rcWork;
    return POINT{std::max(work.left, std::min(at.x, work.right - size.cx)),
                 std::max(work.top, std::min(at.y, work.bottom - size.cy))};
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
      fieldBrush_(CreateSolidBrush(kFieldBackground)),
      explicaBrush_(CreateSolidBrush(kExplicaBackground)) {
    registerOnce();
    create(kExStyle, kClassName, L"Hora de Inicio de las Clases", kStyle, owner, kCreationFailure);
}

FormInicioClase::~FormInicioClase() {
    // The field lets go of its control before the window goes, and the
    // window goes while its fonts and brushes are still there.
    MEHora0_.reset();
    if (handle()) DestroyWindow(handle());
}

void FormInicioClase::onCreate() {
    createControls();
    // Laid out at the DPI of the window itself, at its designed place kept
    // on the screen.
    layOut(dpiOf(handle()));
    const POINT designedPlace{scaled(kDesignedPlace.x, dpi_), scaled(kDesignedPlace.y, dpi_)};
    fitWindowAt(onScreen(designedPlace, windowSize(handle(), client_, dpi_)));
}

void FormInicioClase::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto control = [&](const wchar_t* kind, const wchar_t* text, DWORD style, int id) {
        const HWND child = CreateWindowExW(
            id == kMEHora0 ? WS_EX_CLIENTEDGE : 0, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0,
            0, 0, handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!child) fail(kCreationFailure);
        return child;
    };
    // Created in tab order: "Continuar" first, so it has the focus at opening.
    continuar_ = control(L"BUTTON", L"Continuar", WS_TABSTOP | BS_DEFPUSHBUTTON, kButton1);
    hora_ = control(L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, kMEHora0);
    LabelExplica_ = control(L"STATIC", kExplica, SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabelExplica);
    LabelIniClase_ = control(L"STATIC", kIniClase, SS_LEFT | SS_NOPREFIX, kLabelIniClase);
    MEHora0_ = std::make_unique<HourEdit>(hora_, exporting::kInitialStartHour);
}

void FormInicioClase::layOut(UINT dpi) {
    dpi_ = dpi;
    Font font = defaultFont(false, dpi);
    Font boldFont = defaultFont(true, dpi);
    const WindowDc dc(handle());
    // Each label as its text needs it in its own font: LabelExplica on one
    // line, LabelIniClase in as many as it takes.
    const RECT explica =
        labelArea(dc, designed(8, 8, 291, 13, dpi), kExplica, font.get(), Wrap::No);
    const RECT iniClase =
        labelArea(dc, designed(8, 32, 198, 26, dpi), kIniClase, boldFont.get(), Wrap::Words);
    // The field shows its five characters whole, with its border and margins.
    RECT hora = designed(227, 35, 44, 19, dpi);
    hora.right =
        std::max(hora.right, hora.left + textWidth(dc, L"00:00", boldFont.get()) + scaled(8, dpi));
    const RECT continuar = designed(208, 72, 75, 25, dpi);
    place(LabelExplica_, explica, font.get());
    place(LabelIniClase_, iniClase, boldFont.get());
    place(hora_, hora, boldFont.get());
    place(continuar_, continuar, boldFont.get());
    // The five characters need all of the field's narrow width.
    SendMessageW(hora_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
    font_ = std::move(font);
    boldFont_ = std::move(boldFont);

    // The designed client area, grown to keep its margins around what grew.
    const int right = std::max({explica.right, hora.right, continuar.right});
    const int bottom = std::max(iniClase.bottom, continuar.bottom);
    client_ = SIZE{std::max(scaled(kClientWidth, dpi), right + scaled(kMargin, dpi)),
                   std::max(scaled(kClientHeight, dpi), bottom + scaled(kMargin + 1, dpi))};
    InvalidateRect(handle(), nullptr, TRUE);
}

void FormInicioClase::fitWindowAt(POINT at) {
    const SIZE size = windowSize(handle(), client_, dpi_);
    SetWindowPos(handle(), nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string FormInicioClase::showAndRead() {
    {
        const DisabledOwner disabled(owner_);
        closed_ = false;
        ShowWindow(handle(), SW_SHOW);
        SetForegroundWindow(handle());
        SetFocus(continuar_);
        MSG message;
        while (!closed_) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got <= 0) {
                // The program is ending: leave the quit for the main loop.
                if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (IsDialogMessageW(handle(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        ShowWindow(handle(), SW_HIDE);
    }
    return MEHora0_->text();
}

LRESULT FormInicioClase::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate();
            return 0;
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
        case WM_DPICHANGED: {
            // Moved to a monitor of another DPI: at the place the system
            // suggests, with the size the texts need there.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            layOut(HIWORD(wParam));
            fitWindowAt(POINT{suggested->left, suggested->top});
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            // Draw3DIniClase: red at the bottom fading to white at the top.
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(handle(), &paint);
            RECT client;
            GetClientRect(handle(), &client);
            fillGradient(dc, client, RGB(255, 255, 255), RGB(255, 128, 128), kRed);
            EndPaint(handle(), &paint);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            return labelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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
    return DefWindowProcW(handle(), message, wParam, lParam);
}

// LabelExplica on light cyan, LabelIniClase on white, both in black.
LRESULT FormInicioClase::labelColours(HDC dc, HWND label) {
    const bool explica = label == LabelExplica_;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, explica ? kExplicaBackground : RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(explica ? explicaBrush_.get()
                                             : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

}  // namespace mirvane::win
