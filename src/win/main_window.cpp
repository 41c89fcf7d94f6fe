#include "win/main_window.h"

#include "help/kel_html_help.h"

#include <commdlg.h>

#include <array>

#include "base/error.h"
#include "base/paths.h"
#include "win/message_box.h"
#include "win/open_file.h"
#include "win/wide.h"

namespace mirvane::win {
namespace {

constexpr wchar_t kClassName[] = L"TMForm";
constexpr wchar_t kCaption[] = L"Exportar e importar datos entre Tablexa y Delphos ";
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 266;
// Every control of the window, the window itself and its panels.
constexpr int kHelpContext = 1;

enum ControlId { kBExportar = 1001, kBImportar, kBClose, kButton1 };

// Posted by the first show, so the window is painted before a run opens the
// file dialog.
constexpr UINT kFirstShown = WM_APP + 1;

constexpr DWORD kTopLevelStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kTopLevelExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct Panel {
    int x, y, width, height;
    COLORREF start, middle, end;
};
constexpr COLORREF kTopStart = RGB(249, 211, 125);
constexpr COLORREF kTopEnd = RGB(255, 236, 221);
constexpr std::array<Panel, 3> kPanels = {
    Panel{1, 0, 315, 169, kTopStart, RGB(255, 255, 255), kTopEnd},
    Panel{316, 0, 317, 169, kTopStart, RGB(255, 255, 255), kTopEnd},
    Panel{0, 168, 633, 97, RGB(194, 206, 254), RGB(207, 242, 254), RGB(204, 216, 230)},
};

struct ControlPlace {
    int id;
    int x, y, width, height;
};
// Positions on the window: a panel's origin plus the control's place in it.
constexpr std::array<ControlPlace, 4> kButtons = {
    ControlPlace{kBExportar, 1 + 96, 0 + 120, 89, 25},
    ControlPlace{kBImportar, 316 + 96, 0 + 120, 89, 25},
    ControlPlace{kBClose, 0 + 256, 168 + 32, 89, 25},
    ControlPlace{kButton1, 0 + 264, 168 + 63, 75, 18},
};

void registerClass() {
    static const bool registered =
        registerWindowClass(kClassName, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    if (!registered) fail("No se pudo crear la ventana principal");
}

}  // namespace

TMForm::TMForm(std::vector<std::string> parameters, shell::Folders folders, help::HelpSystem& help)
    : help_(help),
      dpi_(screenDpi()),
      prompt_(window_, busy_),
      form_(*this, std::move(parameters), std::move(folders)) {
    registerClass();
    RECT frame = designed(0, 0, kClientWidth, kClientHeight, dpi_);
    AdjustWindowRectEx(&frame, kTopLevelStyle, FALSE, kTopLevelExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    window_ = CreateWindowExW(kTopLevelExStyle, kClassName, kCaption, kTopLevelStyle,
                              workArea.left + (workArea.right - workArea.left - width) / 2,
                              workArea.top + (workArea.bottom - workArea.top - height) / 2, width,
                              height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) fail("No se pudo crear la ventana principal");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    SetWindowContextHelpId(window_, kHelpContext);
    try {
        createControls();
    } catch (...) {
        DestroyWindow(window_);  // no destructor runs for a half-built window
        throw;
    }
    form_.FormCreate();
}

TMForm::~TMForm() {
    if (window_) DestroyWindow(window_);
}

void TMForm::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto button = [&](int id, const wchar_t* text, DWORD style) {
        const HWND child = CreateWindowExW(
            0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!child) fail("No se pudo crear la ventana principal");
        return child;
    };
    BExportar_ = button(kBExportar, L"OK", BS_PUSHBUTTON);
    BImportar_ = button(kBImportar, L"OK", BS_PUSHBUTTON);
    BClose_ = button(kBClose, L"&Salir", BS_PUSHBUTTON);
    Button1_ = button(kButton1, L"F1 AYUDA", BS_PUSHBUTTON);
    for (const HWND control : {BExportar_, BImportar_, BClose_})
        SetWindowContextHelpId(control, kHelpContext);
    layOut(dpi_);
}

void TMForm::layOut(UINT dpi) {
    dpi_ = dpi;
    font_ = defaultFont(false, dpi);
    boldFont_ = defaultFont(true, dpi);
    titleFont_ = makeFont(L"Arial", -16, true, dpi);
    for (const ControlPlace& place : kButtons) {
        const HWND control = GetDlgItem(window_, place.id);
        const RECT at = designed(place.x, place.y, place.width, place.height, dpi);
        SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void TMForm::show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    PostMessageW(window_, kFirstShown, 0, 0);
}

bool TMForm::takeHelpKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_F1) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    DWORD context = GetWindowContextHelpId(message.hwnd);
    if (context == 0) context = GetWindowContextHelpId(window_);
    help_.HelpContext(static_cast<int>(context));
    return true;
}

LRESULT CALLBACK TMForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TMForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    // The shell's handlers report their own errors; anything else that goes
    // wrong in the window is reported here, never thrown through Windows.
    try {
        return form->handle(window, message, wParam, lParam);
    } catch (const std::exception& error) {
        showErrorBox(window, withFullStop(error.what()));
    }
    return 0;
}

LRESULT TMForm::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kFirstShown:
            form_.FormShow();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) onCommand(LOWORD(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_HELP:
            help_.HelpContext(kHelpContext);
            return TRUE;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            formClose();
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            // The host may destroy its window, and this one with it, without
            // asking it to close: the result code is still written.
            formClose();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TMForm::formClose() {
    if (closed_) return;
    closed_ = true;
    form_.FormClose();
}

void TMForm::onCommand(int id) {
    switch (id) {
        case kBExportar:
            form_.BExportarClick();
            break;
        case kBImportar:
            form_.BImportarClick();
            break;
        case kBClose:
            close();
            break;
        case kButton1:
            help::showHelpContents(help_);
            break;
        default:
            break;
    }
}

void TMForm::paint() {
    PAINTSTRUCT paintInfo;
    const HDC dc = BeginPaint(window_, &paintInfo);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (const Panel& panel : kPanels) {
        const RECT area = designed(panel.x, panel.y, panel.width, panel.height, dpi_);
        fillGradient(dc, area, panel.start, panel.middle, panel.end);
    }
    drawLabel(dc, designed(1 + 24, 24, 265, 57, dpi_),
              L"Transformar datos desde Delphos hacia Tablexa ", titleFont_.get(), RGB(0, 0, 0));
    drawLabel(dc, designed(316 + 8, 24, 305, 57, dpi_),
              L"Transformar datos desde Tablexa hacia Delphos", titleFont_.get(), RGB(0, 0, 0));
    drawLabel(dc, designed(8, 168 + 72, 300, 16, dpi_), L"Mirvane para QX40 V-1.0", boldFont_.get(),
              RGB(255, 0, 0));
    EndPaint(window_, &paintInfo);
}

std::optional<std::filesystem::path> TMForm::chooseFile() {
    std::array<wchar_t, 32768> file{};
    lastFile_.copy(file.data(), file.size() - 1);
    const std::wstring folder = toWide(paths::kDialogFolder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"*.xml\0*.xml\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = L"Archivo XML";
    dialog.lpstrDefExt = L"xml";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    lastFile_ = file.data();
    return std::filesystem::path(lastFile_);
}

void TMForm::showInformation(std::string_view message) {
    showInformationBox(window_, message);
}

void TMForm::showError(std::string_view message) {
    showErrorBox(window_, message);
}

bool TMForm::askYesNo(std::string_view question) {
    try {
        return askYesNoBox(window_, question);
    } catch (const std::exception&) {
        return false;  // no memory left for the question: nothing is opened
    }
}

void TMForm::openWithDefaultProgram(const std::filesystem::path& file) {
    win::openWithDefaultProgram(window_, file);
}

void TMForm::setBusyCursor(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TMForm::enableRunButtons(bool enabled) {
    EnableWindow(BExportar_, enabled);
    EnableWindow(BImportar_, enabled);
}

bool TMForm::embedInto(std::uintptr_t handle) {
    const HWND host = reinterpret_cast<HWND>(handle);
    if (!IsWindow(host)) return false;
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    SetWindowLongPtrW(
        window_, GWL_STYLE,
        (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME)) |
            WS_CHILD);
    const LONG_PTR exStyle = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    SetWindowLongPtrW(window_, GWL_EXSTYLE, exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    SetParent(window_, host);
    const RECT client = designed(0, 0, kClientWidth, kClientHeight, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void TMForm::close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace mirvane::win
