#include "win/main_window.h"

#include "help/kel_html_help.h"

#include <commdlg.h>

#include <array>
#include <cstddef>

#include "base/error.h"
#include "base/paths.h"
#include "base/windows/wide.h"
#include "win/dpi.h"
#include "win/message_box.h"
#include "win/open_file.h"

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

enum class LabelFont { Title, Bold };
struct LabelPlace {
    const wchar_t* text;
    int x, y, width, height;
    LabelFont font;
    Wrap wrap;
    COLORREF colour;
};
// Label3, Label4 and Label1, in labelAreas_'s order.
constexpr std::array<LabelPlace, 3> kLabels = {
    LabelPlace{L"Transformar datos desde Delphos hacia Tablexa ", 1 + 24, 24, 265, 57,
               LabelFont::Title, Wrap::Words, RGB(0, 0, 0)},
    LabelPlace{L"Transformar datos desde Tablexa hacia Delphos", 316 + 8, 24, 305, 57,
               LabelFont::Title, Wrap::Words, RGB(0, 0, 0)},
    LabelPlace{L"Mirvane para QX40 V-1.0", 8, 168 + 72, 300, 16, LabelFont::Bold, Wrap::No,
               RGB(255, 0, 0)},
};

HFONT fontOf(const LabelPlace& label, const Font& title, const Font& bold) {
    return label.font == LabelFont::Title ? title.get() : bold.get();
}

constexpr char kCreationFailure[] = "No se pudo crear la ventana principal";

void registerOnce() {
    static const bool registered = BoundWindow::registerClass(
        kClassName, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    if (!registered) fail(kCreationFailure);
}

}  // namespace

TMForm::TMForm(std::vector<std::string> parameters, shell::Folders folders, help::HelpSystem& help)
    : help_(help), prompt_(*this, busy_), form_(*this, std::move(parameters), std::move(folders)) {
    registerOnce();
    create(kTopLevelExStyle, kClassName, kCaption, kTopLevelStyle, nullptr, kCreationFailure);
    form_.FormCreate();
}

TMForm::~TMForm() {
    // Destroyed here, while its handlers can still write the result code.
    if (handle()) DestroyWindow(handle());
}

void TMForm::onCreate() {
    // Laid out at the DPI of the window itself, which is its monitor's, or
    // 96 when the system stretches it.
    SetWindowContextHelpId(handle(), kHelpContext);
    createControls();
    layOut(dpiOf(handle()));
    const SIZE size = windowSize(handle(), client_, dpi_);
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const POINT centred{workArea.left + (workArea.right - workArea.left - size.cx) / 2,
                        workArea.top + (workArea.bottom - workArea.top - size.cy) / 2};
    fitWindow(&centred);
}

void TMForm::createControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto button = [&](int id, const wchar_t* text, DWORD style) {
        const HWND child = CreateWindowExW(
            0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0, handle(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!child) fail(kCreationFailure);
        return child;
    };
    BExportar_ = button(kBExportar, L"OK", BS_PUSHBUTTON);
    BImportar_ = button(kBImportar, L"OK", BS_PUSHBUTTON);
    BClose_ = button(kBClose, L"&Salir", BS_PUSHBUTTON);
    Button1_ = button(kButton1, L"F1 AYUDA", BS_PUSHBUTTON);
    for (const HWND control : {BExportar_, BImportar_, BClose_})
        SetWindowContextHelpId(control, kHelpContext);
}

void TMForm::layOut(UINT dpi) {
    dpi_ = dpi;
    // The controls leave the old font before it is deleted.
    Font font = defaultFont(false, dpi);
    for (const ControlPlace& place : kButtons) {
        const HWND control = GetDlgItem(handle(), place.id);
        const RECT at = designed(place.x, place.y, place.width, place.height, dpi);
        SetWindowPos(control, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);
    boldFont_ = defaultFont(true, dpi);
    titleFont_ = makeFont(L"Arial", -16, true, dpi);
    // Set on the window itself, at its DPI: a window with a dialog frame
    // shows no icon of its class in its title bar.
    Icon bigIcon = applicationIcon(scaled(32, dpi));
    Icon smallIcon = applicationIcon(scaled(16, dpi));
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    bigIcon_ = std::move(bigIcon);
    smallIcon_ = std::move(smallIcon);
    const WindowDc dc(handle());
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        const LabelPlace& label = kLabels[i];
        labelAreas_[i] = labelArea(dc, designed(label.x, label.y, label.width, label.height, dpi),
                                   label.text, fontOf(label, titleFont_, boldFont_), label.wrap);
    }
    client_ = SIZE{scaled(kClientWidth, dpi), scaled(kClientHeight, dpi)};
    InvalidateRect(handle(), nullptr, TRUE);
}

void TMForm::fitWindow(const POINT* at) {
    const SIZE size = windowSize(handle(), client_, dpi_);
    SetWindowPos(handle(), nullptr, at ? at->x : 0, at ? at->y : 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE));
}

void TMForm::show() {
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
    PostMessageW(handle(), kFirstShown, 0, 0);
}

bool TMForm::takeHelpKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_F1) return false;
    if (message.hwnd != handle() && !IsChild(handle(), message.hwnd)) return false;
    DWORD context = GetWindowContextHelpId(message.hwnd);
    if (context == 0) context = GetWindowContextHelpId(handle());
    help_.HelpContext(static_cast<int>(context));
    return true;
}

// The shell's handlers report their own errors; anything else that goes
// wrong here is reported by the window procedure.
LRESULT TMForm::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate();
            return 0;
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
            // Moved to a monitor of another DPI: at the place the system
            // suggests, with the size the texts need there.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            const POINT at{suggested->left, suggested->top};
            layOut(HIWORD(wParam));
            fitWindow(&at);
            return 0;
        }
        case WM_DPICHANGED_AFTERPARENT:
            // Embedded: the host has moved to a monitor of another DPI.
            layOut(dpiOf(handle()));
            fitWindow();
            return 0;
        case WM_CLOSE:
            form_.FormClose();
            DestroyWindow(handle());
            return 0;
        case WM_DESTROY:
            // The host may destroy its window, and this one with it, without
            // asking it to close: the result code is still written (the
            // rules act on the first of the two calls only).
            form_.FormClose();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(handle(), message, wParam, lParam);
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
    const HDC dc = BeginPaint(handle(), &paintInfo);
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (const Panel& panel : kPanels) {
        const RECT area = designed(panel.x, panel.y, panel.width, panel.height, dpi_);
        fillGradient(dc, area, panel.start, panel.middle, panel.end);
    }
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        const LabelPlace& label = kLabels[i];
        drawLabel(dc, labelAreas_[i], label.text, fontOf(label, titleFont_, boldFont_),
                  label.colour, label.wrap);
    }
    EndPaint(handle(), &paintInfo);
}

std::optional<std::filesystem::path> TMForm::chooseFile() {
    std::array<wchar_t, 32768> file{};
    lastFile_.copy(file.data(), file.size() - 1);
    const std::wstring folder = os::widen(paths::kDialogFolder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = handle();
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
    showInformationBox(handle(), message);
}

void TMForm::showError(std::string_view message) {
    showErrorBox(handle(), message);
}

bool TMForm::askYesNo(std::string_view question) {
    try {
        return askYesNoBox(handle(), question);
    } catch (const std::exception&) {
        return false;  // no memory left for the question: nothing is opened
    }
}

void TMForm::openWithDefaultProgram(const std::filesystem::path& file) {
    win::openWithDefaultProgram(handle(), file);
}

void TMForm::setBusyCursor(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TMForm::enableRunButtons(bool enabled) {
    EnableWindow(BExportar_, enabled);
    EnableWindow(BImportar_, enabled);
}

bool TMForm::embedInto(std::uintptr_t hostHandle) {
    const HWND host = reinterpret_cast<HWND>(hostHandle);
    if (!IsWindow(host)) return false;
    const LONG_PTR style = GetWindowLongPtrW(handle(), GWL_STYLE);
    SetWindowLongPtrW(
        handle(), GWL_STYLE,
        (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME)) |
            WS_CHILD);
    const LONG_PTR exStyle = GetWindowLongPtrW(handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(handle(), GWL_EXSTYLE, exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    SetParent(handle(), host);
    // At the host's DPI, which this thread took before the window was made.
    layOut(dpiOf(handle()));
    const POINT corner{0, 0};
    fitWindow(&corner);
    SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void TMForm::close() {
    PostMessageW(handle(), WM_CLOSE, 0, 0);
}

}  // namespace mirvane::win
