// Plays Tablexa, and the person in front of it, for mirvane.exe under Wine:
// starts it as the host does (a mode word and this program's own window
// handle) or as a person does (no parameters), drives its file dialog, its
// start-hour prompt and its message boxes by their controls, and checks the
// windows, Tablexa.ini, the files the runs leave and the help they ask for.
//
//   test_host SCENARIO MIRVANE_EXE EXAMPLE_FOLDER
//
// Exit status 0 when the scenario passed; each failed check is printed.

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

int failures = 0;

void check(bool condition, const char* what) {
    if (condition) return;
    std::printf("FALLO: %s\n", what);
    ++failures;
}

[[noreturn]] void abandon(const char* what) {
    std::printf("FALLO: %s\n", what);
    std::fflush(stdout);
    ExitProcess(2);
}

// Waits for `ready`, handling this window's messages meanwhile: the
// embedded window is this thread's child, and a host that stops pumping
// would hang it.
bool waitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit = 20s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (ready()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
}

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &length);
    return text;
}

// The visible top-level window of `process` with this class and caption.
HWND findTopLevel(DWORD process, const wchar_t* className, const std::wstring& caption) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != process || !IsWindowVisible(window)) continue;
        if (caption.empty() || textOf(window) == caption) return window;
    }
    return nullptr;
}

HWND waitForTopLevel(DWORD process, const wchar_t* className, const std::wstring& caption = {}) {
    HWND found = nullptr;
    waitFor([&] { return (found = findTopLevel(process, className, caption)) != nullptr; });
    return found;
}

HWND childWithText(HWND parent, const std::wstring& text) {
    HWND child = nullptr;
    while ((child = FindWindowExW(parent, child, nullptr, nullptr)))
        if (textOf(child) == text) return child;
    return nullptr;
}

void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

// Answers the next message box with OK, after checking its text.
void answerBox(DWORD process, const std::wstring& text, const char* what) {
    const HWND box = waitForTopLevel(process, L"#32770", L"Mirvane");
    if (!box) abandon(what);
    check(textOf(GetDlgItem(box, 0xFFFF)) == text, what);
    click(GetDlgItem(box, IDOK));
    waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

// Puts `file` in the file dialog's name field and presses Open, or Cancel.
// Declines, with "No", the offer to open the report of a run with warnings,
// after checking its text.
void declineReport(DWORD process, const std::wstring& text) {
    const HWND box = waitForTopLevel(process, L"#32770", L"Mirvane");
    if (!box) abandon("la pregunta de abrir el informe");
    check(textOf(GetDlgItem(box, 0xFFFF)) == text, "la pregunta de abrir el informe");
    click(GetDlgItem(box, IDNO));
    waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

// The example school's export loses two things on its way (its turnos and
// buildings cut to their initial are no warning), so its report is offered
// after "Proceso finalizado", in host mode too, before the window closes.
const std::wstring kExampleReportOffer = L"La exportación tiene 2 avisos. ¿Desea abrir el informe?";
const std::wstring kExampleImportOffer = L"La importación tiene 6 avisos. ¿Desea abrir el informe?";

void answerFileDialog(DWORD process, const std::wstring& file) {
    const HWND dialog = waitForTopLevel(process, L"#32770", L"Archivo XML");
    if (!dialog) abandon("el diálogo \"Archivo XML\" no aparece");
    if (file.empty()) {
        click(GetDlgItem(dialog, IDCANCEL));
    } else {
        HWND name = GetDlgItem(dialog, 0x47c);  // cmb13, the file name box
        if (!name) name = GetDlgItem(dialog, 0x480);
        if (!name) abandon("el diálogo de archivo no tiene campo de nombre");
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        click(GetDlgItem(dialog, IDOK));
    }
    waitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

struct Prompt {
    HWND window;
    HWND field;
};

// The control that has the keyboard focus in the thread that owns `window`.
HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

Prompt waitForPrompt(DWORD process) {
    const HWND window =
        waitForTopLevel(process, L"TFormInicioClase", L"Hora de Inicio de las Clases");
    if (!window) abandon("la ventana de la hora de inicio no aparece");
    return {window, FindWindowExW(window, nullptr, L"Edit", nullptr)};
}

// Keys as the edit control gets them: characters, and 'H' for Home, 'E' for
// End. Posted, as the keyboard does: Enter may open a box that waits for us.
void typeInto(HWND field, const std::wstring& keys) {
    for (const wchar_t key : keys) {
        if (key == L'H' || key == L'E')
            PostMessageW(field, WM_KEYDOWN, key == L'H' ? VK_HOME : VK_END, 0);
        else
            PostMessageW(field, WM_CHAR, key, 0);
    }
}

// "Continuar". A time that is taken closes the prompt; a rejected one shows it
// again at once, too soon to be seen hidden, so then there is nothing to wait for.
void pressContinuar(const Prompt& prompt, bool taken = true) {
    click(childWithText(prompt.window, L"Continuar"));
    if (taken) waitFor([&] { return !IsWindowVisible(prompt.window); });
}

// After a rejected time: the same prompt, still showing it, and no message.
void checkShownAgain(DWORD process, const Prompt& prompt, const std::wstring& time) {
    check(
        waitFor([&] { return IsWindowVisible(prompt.window) && textOf(prompt.field) == time; }, 5s),
        "la hora rechazada se muestra otra vez");
    check(findTopLevel(process, L"#32770", L"Mirvane") == nullptr,
          "la hora rechazada no da mensaje");
}

// The start-hour prompt answered with a time it rejects, then a right one.
void answerPrompt(DWORD process, const std::wstring& wrong, const std::wstring& right) {
    const Prompt first = waitForPrompt(process);
    check(textOf(first.field) == L"08:00", "la hora de inicio empieza en 08:00");
    check(
        waitFor([&] { return focusOf(first.window) == childWithText(first.window, L"Continuar"); },
                5s),
        "\"Continuar\" tiene el foco al abrir");
    typeInto(first.field, L"H" + wrong);
    pressContinuar(first, false);
    checkShownAgain(process, first, wrong);
    typeInto(first.field, L"H" + right);
    pressContinuar(first);
}

struct Mirvane {
    PROCESS_INFORMATION process{};
    DWORD id() const { return process.dwProcessId; }
    bool ended(std::chrono::milliseconds limit = 20s) const {
        return waitFor([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; },
                       limit);
    }
    ~Mirvane() {
        if (!process.hProcess) return;
        if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 3);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
};

struct Setting {
    std::wstring mirvane;   // path of mirvane.exe
    std::wstring examples;  // folder of the example school
    std::wstring ini;       // Tablexa.ini beside mirvane.exe
    std::wstring document;  // the exchange document, under an accented name
    HWND host = nullptr;
};

void start(Mirvane& mirvane, const Setting& setting, const std::wstring& parameters) {
    std::wstring commandLine =
        L"\"" + setting.mirvane + L"\"" + (parameters.empty() ? L"" : L" " + parameters);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Now and then, with many programs starting at once, Wine fails to start
    // one: mirvane.exe has not begun, and is started once more.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &mirvane.process))
            return;
        std::printf("CreateProcessW: error %lu\n", GetLastError());
        if (attempt == 2) abandon("mirvane.exe no arranca");
        std::this_thread::sleep_for(500ms);
    }
}

std::wstring hex(HWND window) {
    wchar_t text[32];
    swprintf(text, 32, L"%llX",
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

int resultCode(const Setting& setting) {
    return static_cast<int>(
        GetPrivateProfileIntW(L"Transformadores", L"Transformado", 99, setting.ini.c_str()));
}

bool exists(const std::wstring& file) {
    return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Read while others may be writing: a log polled here must never turn away
// the program appending to it.
std::string contentsOf(const std::wstring& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    std::string contents(GetFileSize(handle, nullptr), '\0');
    DWORD read = 0;
    ReadFile(handle, contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr);
    CloseHandle(handle);
    contents.resize(read);
    return contents;
}

// Mirvane's window inside the host: a child, shown, without caption or frame.
HWND embeddedWindow(const Setting& setting) {
    HWND form = nullptr;
    waitFor([&] {
        form = FindWindowExW(setting.host, nullptr, L"TMForm", nullptr);
        return form && IsWindowVisible(form);
    });
    if (!form) abandon("la ventana de Mirvane no aparece dentro de la del anfitrión");
    const LONG style = GetWindowLongW(form, GWL_STYLE);
    check(GetParent(form) == setting.host, "la ventana de Mirvane es hija de la del anfitrión");
    check((style & WS_CHILD) != 0, "la ventana incrustada tiene el estilo WS_CHILD");
    check((style & (WS_CAPTION | WS_THICKFRAME)) == 0,
          "la ventana incrustada no tiene título ni marco");
    return form;
}

HWND topLevelWindow(DWORD process) {
    const HWND form = waitForTopLevel(process, L"TMForm");
    if (!form) abandon("la ventana de Mirvane no aparece");
    check(textOf(form) == L"Exportar e importar datos entre Tablexa y Delphos ",
          "el título de la ventana");
    check((GetWindowLongW(form, GWL_STYLE) & WS_CAPTION) == WS_CAPTION,
          "la ventana tiene su título");
    return form;
}

const wchar_t* const kTables[] = {L"ASIGNOMT", L"PROFT", L"AULAT",
                                  L"GRUPOST",  L"ASIGT", L"DIASHORAST"};

void checkTablesWritten(const std::string& firstStart) {
    for (const wchar_t* table : kTables)
        check(exists(std::wstring(L"C:\\KTEMP\\") + table + L".DBF"), "la tabla de trabajo existe");
    check(contentsOf(L"C:\\KTEMP\\DIASHORAST.DBF").find(firstStart) != std::string::npos,
          "los tramos empiezan a la hora contestada");
}

void hostExportar(const Setting& setting) {
    Mirvane mirvane;
    start(mirvane, setting, L"exportar " + hex(setting.host));
    embeddedWindow(setting);
    answerFileDialog(mirvane.id(), setting.document);
    answerPrompt(mirvane.id(), L"25:00", L"09:15");
    answerBox(mirvane.id(), L"Proceso finalizado", "\"Proceso finalizado\"");
    declineReport(mirvane.id(), kExampleReportOffer);
    check(mirvane.ended(), "Mirvane termina al acabar la exportación");
    check(resultCode(setting) == 1, "Transformado=1 tras una exportación completa");
    checkTablesWritten("09:15");
}

void hostImportar(const Setting& setting) {
    CopyFileW((setting.examples + L"\\SOLUC.DBF").c_str(), L"C:\\KTEMP\\SOLUC.DBF", FALSE);
    const std::wstring result = L"C:\\KTEMP\\delphos\\ResultadoVorsahorario año.xml";
    DeleteFileW(result.c_str());
    Mirvane mirvane;
    start(mirvane, setting, L"IMPORTAR " + hex(setting.host));
    embeddedWindow(setting);
    answerFileDialog(mirvane.id(), setting.document);
    answerBox(mirvane.id(), L"Proceso finalizado", "\"Proceso finalizado\"");
    declineReport(mirvane.id(), kExampleImportOffer);
    check(mirvane.ended(), "Mirvane termina al acabar la importación");
    check(resultCode(setting) == 1, "Transformado=1 tras una importación completa");
    check(exists(result), "el documento de resultado está junto al elegido");
}

void hostCancelled(const Setting& setting, const wchar_t* mode, int expected) {
    Mirvane mirvane;
    start(mirvane, setting, std::wstring(mode) + L" " + hex(setting.host));
    embeddedWindow(setting);
    answerFileDialog(mirvane.id(), L"");
    answerBox(mirvane.id(), L"No existe archivo", "\"No existe archivo\"");
    check(mirvane.ended(), "Mirvane termina sin archivo");
    check(resultCode(setting) == expected, "el código sin archivo");
}

void hostSincronizar(const Setting& setting) {
    Mirvane mirvane;
    start(mirvane, setting, L"sincronizar " + hex(setting.host));
    const HWND form = embeddedWindow(setting);
    check(findTopLevel(mirvane.id(), L"#32770", L"Archivo XML") == nullptr,
          "ninguna transformación empieza");
    PostMessageW(form, WM_CLOSE, 0, 0);
    check(mirvane.ended(), "Mirvane termina al cerrarse");
    check(resultCode(setting) == 0, "Transformado=0 sin transformación");
}

// A handle that reads as a number but names no window: a normal window, and
// the host still gets its code.
void hostNotAWindow(const Setting& setting) {
    Mirvane mirvane;
    start(mirvane, setting, L"exportar 7FFFFFF0");
    topLevelWindow(mirvane.id());
    answerFileDialog(mirvane.id(), L"");
    answerBox(mirvane.id(), L"No existe archivo", "\"No existe archivo\"");
    check(mirvane.ended(), "Mirvane termina sin archivo");
    check(resultCode(setting) == -1, "Transformado=-1 aunque el manejador no sea una ventana");
}

void hostInvalidHandle(const Setting& setting) {
    Mirvane mirvane;
    start(mirvane, setting, L"exportar XYZ");
    answerBox(mirvane.id(), L"'$XYZ' is not a valid integer value.",
              "el error del manejador no válido");
    const HWND form = topLevelWindow(mirvane.id());
    answerFileDialog(mirvane.id(), L"");
    answerBox(mirvane.id(), L"No existe archivo", "\"No existe archivo\"");
    check(!mirvane.ended(1s), "la ventana sigue abierta fuera del modo anfitrión");
    PostMessageW(form, WM_CLOSE, 0, 0);
    check(mirvane.ended(), "Mirvane termina al cerrarse");
    check(!exists(setting.ini), "nada se escribe en Tablexa.ini");
}

// Every child of `window` lies inside its client area.
void checkChildrenInside(HWND window, const char* what) {
    RECT client;
    GetClientRect(window, &client);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT area;
        GetWindowRect(child, &area);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        check(area.left >= 0 && area.top >= 0 && area.right <= client.right &&
                  area.bottom <= client.bottom,
              what);
    }
}

SIZE clientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

// The pixel width of `text` in the windows' font at `dpi`: 8-point
// Microsoft Sans Serif, or Tahoma where it is missing, as in Wine.
int textWidthAt(const std::wstring& text, UINT dpi) {
    const HDC dc = CreateCompatibleDC(nullptr);
    int width = 0;
    for (const wchar_t* face : {L"Microsoft Sans Serif", L"Tahoma"}) {
        const HFONT font =
            CreateFontW(-MulDiv(11, static_cast<int>(dpi), 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                        FALSE, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, face);
        const HGDIOBJ previous = SelectObject(dc, font);
        wchar_t chosen[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, chosen);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        DeleteObject(font);
        width = size.cx;
        if (std::wstring(chosen) == face) break;
    }
    DeleteDC(dc);
    return width;
}

// The start-hour prompt at `dpi`: at least its designed size, scaled, with
// every control and LabelExplica's whole text inside it.
void checkPromptLayout(const Prompt& prompt, UINT dpi) {
    const SIZE client = clientSize(prompt.window);
    check(client.cx >= MulDiv(307, dpi, 96) && client.cy >= MulDiv(106, dpi, 96),
          "la ventana de la hora tiene al menos su tamaño de diseño a escala");
    checkChildrenInside(prompt.window, "los controles caben en la ventana de la hora");
    const std::wstring explica = L"Debe indica la Hora de Inicio de la primera clase en el Centro.";
    const HWND label = childWithText(prompt.window, explica);
    RECT area{};
    GetWindowRect(label, &area);
    check(label && area.right - area.left >= textWidthAt(explica, dpi),
          "el texto entero de LabelExplica cabe en su etiqueta");
    std::printf("ventana de la hora a %u PPP: %ld x %ld\n", dpi, client.cx, client.cy);
}

// A person at the window: the export by its button, the field's checks, and
// "&Salir".
void interactive(const Setting& setting) {
    Mirvane mirvane;
    start(mirvane, setting, L"");
    const HWND form = topLevelWindow(mirvane.id());
    const HWND bExportar = GetDlgItem(form, 1001);
    const HWND bImportar = GetDlgItem(form, 1002);
    check(textOf(bExportar) == L"OK" && textOf(bImportar) == L"OK",
          "los botones de las transformaciones");
    click(bExportar);
    answerFileDialog(mirvane.id(), setting.document);

    const Prompt prompt = waitForPrompt(mirvane.id());
    checkPromptLayout(prompt, 96);
    typeInto(prompt.field, L"E\b\r");  // a required minute left blank, then Enter
    answerBox(mirvane.id(), L"Invalid input value.  Use escape key to abandon changes.",
              "el campo vacío se rechaza");
    check(IsWindowVisible(prompt.window), "la ventana de la hora sigue abierta");
    check(waitFor([&] { return focusOf(prompt.window) == prompt.field; }, 5s),
          "el campo conserva el foco");
    typeInto(prompt.field, L"\x1b");
    check(waitFor([&] { return textOf(prompt.field) == L"08:00"; }, 5s),
          "Escape devuelve el texto que había");
    typeInto(prompt.field, L"H24:00");
    pressContinuar(prompt, false);
    checkShownAgain(mirvane.id(), prompt, L"24:00");
    typeInto(prompt.field, L"H 7:45");
    pressContinuar(prompt);
    answerBox(mirvane.id(), L"Proceso finalizado", "\"Proceso finalizado\"");
    declineReport(mirvane.id(), kExampleReportOffer);
    checkTablesWritten(" 7:45");
    check(waitFor([&] { return !IsWindowEnabled(bExportar) && !IsWindowEnabled(bImportar); }, 5s),
          "los botones quedan desactivados");
    check(!mirvane.ended(1s), "la ventana sigue abierta en modo interactivo");
    click(childWithText(form, L"&Salir"));
    check(mirvane.ended(), "\"&Salir\" cierra el programa");
    check(!exists(setting.ini), "nada se escribe en Tablexa.ini");
}

// A folder of the Wine prefix's temporary folder that holds a copy of
// mirvane.exe beside the stand-in hhctrl.ocx, so that the shipped folder
// never gets it. Emptied when made (a scenario that was abandoned leaves it
// behind) and removed, with everything in it, when done.
class ScratchFolder {
  public:
    explicit ScratchFolder(const wchar_t* name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name;
        empty();
        CreateDirectoryW(path_.c_str(), nullptr);
        // The long form, as mirvane.exe reports its own path.
        wchar_t full[MAX_PATH];
        if (GetLongPathNameW(path_.c_str(), full, MAX_PATH)) path_ = full;
    }
    ~ScratchFolder() {
        empty();
        RemoveDirectoryW(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    void empty() const {
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW(file(L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(file(found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }

    std::wstring path_;
};

std::wstring folderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L"\\/"));
}

std::string ansi(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

std::vector<std::string> linesOf(const std::wstring& file) {
    std::vector<std::string> lines;
    std::string line;
    for (const char c : contentsOf(file)) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    return lines;
}

// F1 posted as a key press to the control that has the focus in `window`'s
// thread, or to `window` itself when none has it. A posted key makes no
// system help request (WM_HELP): only the program's own message loop can turn
// it into help.
void pressF1(HWND window) {
    const HWND focus = focusOf(window);
    const HWND target = focus && (focus == window || IsChild(window, focus)) ? focus : window;
    PostMessageW(target, WM_KEYDOWN, VK_F1, 0x003B0001);  // scan code of F1
    PostMessageW(target, WM_KEYUP, VK_F1, 0xC03B0001);
}

// Keys pressed on the keyboard while `window` is in front, as the system
// delivers them to the control that has the focus there.
void keyboard(HWND window, std::initializer_list<WORD> keys) {
    SetForegroundWindow(window);
    if (!waitFor([&] { return GetForegroundWindow() == window; }, 5s))
        abandon("la ventana no pasa al frente");
    std::vector<INPUT> presses;
    for (const WORD key : keys) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wVk = key;
        presses.push_back(press);
        press.ki.dwFlags = KEYEVENTF_KEYUP;
        presses.push_back(press);
    }
    SendInput(static_cast<UINT>(presses.size()), presses.data(), sizeof(INPUT));
}

// The help a person asks for: F1 on the main window, "F1 AYUDA", and F1 in
// the start-hour prompt, which shows nothing. mirvane.exe runs from a copy
// beside the stand-in hhctrl.ocx, which logs each HtmlHelpA call.
void ayuda(Setting setting, const std::wstring& testHost) {
    const ScratchFolder folder(L"mirvane-ayuda");
    const std::wstring standIn = folderOf(testHost) + L"\\hhctrl.ocx";
    if (!exists(standIn)) abandon("falta hhctrl.ocx junto a test_host.exe");
    const std::wstring shipped = folderOf(setting.mirvane);
    setting.mirvane = folder.file(L"mirvane.exe");
    setting.ini = folder.file(L"Tablexa.ini");
    if (!CopyFileW((shipped + L"\\mirvane.exe").c_str(), setting.mirvane.c_str(), FALSE) ||
        !CopyFileW(standIn.c_str(), folder.file(L"hhctrl.ocx").c_str(), FALSE))
        abandon("no se puede preparar la carpeta de la ayuda");
    // The help file itself is never opened: the stand-in only logs its name.
    CopyFileW((shipped + L"\\DELPHOS.chm").c_str(), folder.file(L"DELPHOS.chm").c_str(), FALSE);

    // Wine keeps its own hhctrl.ocx unless told, by its full name, to load
    // the one beside the program. Wine reads that only from the environment
    // it was started with, so the test sets it, not this program.
    wchar_t overrides[1024] = {};
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 1024);
    if (std::wstring(overrides).find(L"hhctrl.ocx=n") == std::wstring::npos)
        abandon("WINEDLLOVERRIDES no incluye hhctrl.ocx=n");
    const std::wstring log = folder.file(L"ayuda.log");
    SetEnvironmentVariableW(L"MIRVANE_HTMLHELP_LOG", log.c_str());

    Mirvane mirvane;
    start(mirvane, setting, L"");
    const HWND form = topLevelWindow(mirvane.id());
    const std::string helpFile = ansi(folder.file(L"DELPHOS.chm"));
    auto logShows = [&](std::size_t count) {
        return waitFor([&] { return linesOf(log).size() >= count; }, 5s);
    };

    pressF1(form);
    check(logShows(1), "F1 en la ventana llega a HtmlHelpA");
    click(childWithText(form, L"F1 AYUDA"));
    check(logShows(2), "\"F1 AYUDA\" llega a HtmlHelpA");
    const std::vector<std::string> calls = linesOf(log);
    check(calls.size() == 2, "dos llamadas a HtmlHelpA");
    check(calls.size() > 0 && calls[0] == "0 15 1 " + helpFile,
          "F1: HH_HELP_CONTEXT 1 con DELPHOS.chm de la carpeta del programa");
    check(calls.size() > 1 && calls[1] == "0 1 0 " + helpFile,
          "\"F1 AYUDA\": HH_DISPLAY_TOC con DELPHOS.chm de la carpeta del programa");
    for (const std::string& call : calls) std::printf("HtmlHelpA: %s\n", call.c_str());

    // In the prompt, F1 from the keyboard, which also makes the system's own
    // help request, then Enter on "Continuar": the keys arrive in order, so
    // by "Proceso finalizado" F1 has been handled.
    const std::size_t before = linesOf(log).size();
    click(GetDlgItem(form, 1001));
    answerFileDialog(mirvane.id(), setting.document);
    const Prompt prompt = waitForPrompt(mirvane.id());
    check(waitFor(
              [&] { return focusOf(prompt.window) == childWithText(prompt.window, L"Continuar"); },
              5s),
          "\"Continuar\" tiene el foco al abrir");
    keyboard(prompt.window, {VK_F1, VK_RETURN});
    answerBox(mirvane.id(), L"Proceso finalizado", "\"Proceso finalizado\"");
    declineReport(mirvane.id(), kExampleReportOffer);
    check(linesOf(log).size() == before, "F1 en la ventana de la hora no pide ayuda");

    click(childWithText(form, L"&Salir"));
    check(mirvane.ended(), "\"&Salir\" cierra el programa");
}

// Wine reads the screen's DPI from LogPixels as each program starts: the
// value stays only until mirvane.exe has made its windows, so every other
// program runs at the prefix's own DPI (and main() clears one left behind).
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

void clearScreenDpi() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}

void startAtDpi(Mirvane& mirvane, const Setting& setting, const std::wstring& parameters,
                DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    start(mirvane, setting, parameters);
    WaitForInputIdle(mirvane.process.hProcess, 20000);
    clearScreenDpi();
}

// For tools/screenshot: announces a window to capture through a file in
// C:\KTEMP holding its screen rectangle, and waits until the file is gone.
void offerForCapture(HWND window, const wchar_t* name) {
    RECT area;
    GetWindowRect(window, &area);
    const std::wstring file = std::wstring(L"C:\\KTEMP\\") + name + L".captura";
    const std::string rectangle = std::to_string(area.right - area.left) + "x" +
                                  std::to_string(area.bottom - area.top) + "+" +
                                  std::to_string(area.left) + "+" + std::to_string(area.top) + "\n";
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) abandon("no se puede anunciar la captura");
    DWORD written = 0;
    WriteFile(handle, rectangle.data(), static_cast<DWORD>(rectangle.size()), &written, nullptr);
    CloseHandle(handle);
    if (!waitFor([&] { return !exists(file); }, 60s)) abandon("la captura no llega");
}

// The main window and the prompt at `dpi`, shown for tools/screenshot.
void capturas(const Setting& setting, DWORD dpi) {
    Mirvane mirvane;
    startAtDpi(mirvane, setting, L"", dpi);
    const HWND form = topLevelWindow(mirvane.id());
    offerForCapture(form, L"ventana-principal");
    click(GetDlgItem(form, 1001));
    answerFileDialog(mirvane.id(), setting.document);
    const Prompt prompt = waitForPrompt(mirvane.id());
    offerForCapture(prompt.window, L"hora-de-inicio");
    pressContinuar(prompt);
    answerBox(mirvane.id(), L"Proceso finalizado", "\"Proceso finalizado\"");
    declineReport(mirvane.id(), kExampleReportOffer);
    click(childWithText(form, L"&Salir"));
    check(mirvane.ended(), "\"&Salir\" cierra el programa");
}

// Tablexa where schools install it: in the system's folder for 32-bit
// programs (Program Files (x86), or Program Files on 32-bit Windows), where
// Windows virtualizes an older 32-bit program, which then reads Tablexa.ini
// from the user's VirtualStore once a copy of it is there.
std::wstring installedFolder() {
    wchar_t* path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFilesX86, 0, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path);
    return folder + L"\\Tablexa";
}
const std::wstring kInstalledFolder = installedFolder();
const std::string kHostsOwnIni = "[Tablexa]\r\nVersion=4\r\n";
const std::string kCodeWithoutFile = "[Transformadores]\r\nTransformado=-1\r\n";

std::wstring virtualStoreCopy() {
    wchar_t local[MAX_PATH] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    return std::wstring(local) + L"\\VirtualStore" + kInstalledFolder.substr(2) + L"\\Tablexa.ini";
}

bool writeTo(const std::wstring& file, const std::string& contents) {
    for (std::size_t slash = file.find(L'\\', 3); slash != std::wstring::npos;
         slash = file.find(L'\\', slash + 1))
        CreateDirectoryW(file.substr(0, slash).c_str(), nullptr);
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(handle, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(handle);
    return written == contents.size();
}

// The host starts the installed mirvane.exe for an export and the user
// cancels the file dialog: the code to hand back is -1.
void cancelledExportFromInstalledFolder(Setting setting) {
    setting.mirvane = kInstalledFolder + L"\\mirvane.exe";
    Mirvane mirvane;
    start(mirvane, setting, L"exportar " + hex(setting.host));
    embeddedWindow(setting);
    answerFileDialog(mirvane.id(), L"");
    answerBox(mirvane.id(), L"No existe archivo", "\"No existe archivo\"");
    check(mirvane.ended(), "Mirvane termina sin archivo, sin error al escribir el código");
}

// A VirtualStore copy from earlier runs: the code goes there, where the host
// reads it, and into the file itself too, which this user may write.
void hostVirtualStoreCopy(const Setting& setting) {
    const std::wstring ini = kInstalledFolder + L"\\Tablexa.ini";
    const std::string copied = kHostsOwnIni + "Usuario=ana\r\n";
    if (!writeTo(ini, kHostsOwnIni) || !writeTo(virtualStoreCopy(), copied) ||
        !CopyFileW(setting.mirvane.c_str(), (kInstalledFolder + L"\\mirvane.exe").c_str(), FALSE))
        abandon("no se puede instalar en la carpeta de Tablexa");
    cancelledExportFromInstalledFolder(setting);
    check(contentsOf(virtualStoreCopy()) == copied + kCodeWithoutFile,
          "el código queda en la copia de VirtualStore, con el resto intacto");
    check(contentsOf(ini) == kHostsOwnIni + kCodeWithoutFile, "y en el propio Tablexa.ini");
    for (const std::wstring& file : {virtualStoreCopy(), ini, kInstalledFolder + L"\\mirvane.exe"})
        DeleteFileW(file.c_str());
    RemoveDirectoryW(kInstalledFolder.c_str());
}

// The folder refuses writing, as to a standard user (run-without-permission
// installed mirvane.exe and Tablexa.ini there, read-only): Windows' copy on
// first write, the host's file with the code set, in the VirtualStore.
void hostWithoutPermission(const Setting& setting) {
    const std::wstring ini = kInstalledFolder + L"\\Tablexa.ini";
    if (writeTo(kInstalledFolder + L"\\prueba.txt", "x") || GetLastError() != ERROR_ACCESS_DENIED)
        abandon("la carpeta de Tablexa admite escritura: nada que probar");
    check(!exists(virtualStoreCopy()), "no hay copia en VirtualStore al empezar");
    cancelledExportFromInstalledFolder(setting);
    check(contentsOf(virtualStoreCopy()) == kHostsOwnIni + kCodeWithoutFile,
          "la copia de VirtualStore es Tablexa.ini con el código");
    check(contentsOf(ini) == kHostsOwnIni, "Tablexa.ini queda como estaba");
}

// mirvane.exe as the installer left it, beside a stand-in Tablexa whose own
// Tablexa.ini (written by run-installer) gains the code and keeps the rest.
void hostInstalled(const Setting& setting) {
    const std::string own = contentsOf(setting.ini);
    if (own.empty()) abandon("no hay Tablexa.ini junto al mirvane.exe instalado");
    hostCancelled(setting, L"exportar", -1);
    check(contentsOf(setting.ini) == own + kCodeWithoutFile,
          "Tablexa.ini conserva lo suyo y recibe el código");
}

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createHostWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = hostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TablexaStandIn";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    const HWND host =
        CreateWindowExW(0, L"TablexaStandIn", L"Tablexa", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                        0, 800, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(host, SW_SHOW);
    return host;
}

// At 150 %: both windows scaled from their first show, the prompt's whole
// text and every control inside it.
void screenAt144(const Setting& setting) {
    Mirvane mirvane;
    startAtDpi(mirvane, setting, L"", 144);
    const HWND form = topLevelWindow(mirvane.id());
    const SIZE client = clientSize(form);
    check(client.cx == 948 && client.cy == 399, "la ventana principal a escala de 144 PPP");
    checkChildrenInside(form, "los botones caben en la ventana principal");
    std::printf("ventana principal a 144 PPP: %ld x %ld\n", client.cx, client.cy);
    click(GetDlgItem(form, 1001));
    answerFileDialog(mirvane.id(), setting.document);
    const Prompt prompt = waitForPrompt(mirvane.id());
    checkPromptLayout(prompt, 144);
    pressContinuar(prompt);
    answerBox(mirvane.id(), L"Proceso finalizado", "\"Proceso finalizado\"");
    declineReport(mirvane.id(), kExampleReportOffer);
    click(childWithText(form, L"&Salir"));
    check(mirvane.ended(), "\"&Salir\" cierra el programa");
}

// A legacy host, unaware of DPI, on a screen at 150 %: the system stretches
// its window, and the embedded one must be stretched with it, so it takes
// the host's awareness and its designed size at 96 DPI.
void hostUnawareOfDpi(Setting setting) {
    const DPI_AWARENESS_CONTEXT own = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    setting.host = createHostWindow();
    SetThreadDpiAwarenessContext(own);
    Mirvane mirvane;
    startAtDpi(mirvane, setting, L"sincronizar " + hex(setting.host), 144);
    const HWND form = embeddedWindow(setting);
    check(AreDpiAwarenessContextsEqual(GetWindowDpiAwarenessContext(form),
                                       GetWindowDpiAwarenessContext(setting.host)),
          "la ventana incrustada tiene la conciencia de PPP del anfitrión");
    const SIZE client = clientSize(form);
    check(client.cx == 632 && client.cy == 266,
          "la ventana incrustada, a 96 PPP, se estira con la del anfitrión");
    PostMessageW(form, WM_CLOSE, 0, 0);
    check(mirvane.ended(), "Mirvane termina al cerrarse");
    check(resultCode(setting) == 0, "Transformado=0 sin transformación");
    DestroyWindow(setting.host);
}

// A person exports a document that stops half-way (its second Monday slot is
// out of bounds): the error says where, the report is offered, and the work
// folder keeps the tables of the export before, byte for byte.
void failedExport(const Setting& setting) {
    std::map<std::wstring, std::string> before;
    for (const wchar_t* table : kTables)
        before[table] = contentsOf(std::wstring(L"C:\\KTEMP\\") + table + L".DBF");
    check(!before[L"ASIGNOMT"].empty(), "hay tablas de una exportación anterior");
    std::string text = contentsOf(setting.examples + L"\\datos.xml");
    const std::size_t slot = text.find(">L2<");
    if (slot == std::string::npos) abandon("el ejemplo no tiene el tramo L2");
    text.replace(slot, 4, ">L27<");
    const std::wstring broken = L"C:\\KTEMP\\delphos\\tramo fuera.xml";
    if (!writeTo(broken, text)) abandon("no se puede escribir el documento roto");

    Mirvane mirvane;
    start(mirvane, setting, L"");
    const HWND form = topLevelWindow(mirvane.id());
    const HWND bExportar = GetDlgItem(form, 1001);
    click(bExportar);
    answerFileDialog(mirvane.id(), broken);
    pressContinuar(waitForPrompt(mirvane.id()));
    answerBox(mirvane.id(),
              L"El registro 2 de la sección TRAMOS tiene el número de tramo 27; debe estar "
              L"entre 1 y 20.",
              "el error dice qué registro falla");
    declineReport(mirvane.id(),
                  L"Las tablas de Tablexa no han cambiado. El informe dice dónde se detuvo la "
                  L"exportación. ¿Desea abrir el informe?");
    for (const wchar_t* table : kTables)
        check(contentsOf(std::wstring(L"C:\\KTEMP\\") + table + L".DBF") == before[table],
              "las tablas de antes siguen intactas");
    check(!exists(L"C:\\KTEMP\\Mirvane\\nuevo"), "no queda nada de la exportación");
    check(waitFor([&] { return IsWindowEnabled(bExportar) != FALSE; }, 5s),
          "se puede volver a exportar");
    click(childWithText(form, L"&Salir"));
    check(mirvane.ended(), "\"&Salir\" cierra el programa");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::printf("uso: test_host ESCENARIO MIRVANE_EXE CARPETA_DEL_EJEMPLO\n");
        return 2;
    }
    Setting setting;
    setting.mirvane = argv[2];
    setting.examples = argv[3];
    setting.ini =
        setting.mirvane.substr(0, setting.mirvane.find_last_of(L"\\/") + 1) + L"Tablexa.ini";
    setting.document = L"C:\\KTEMP\\delphos\\horario año.xml";
    clearScreenDpi();
    CreateDirectoryW(L"C:\\KTEMP", nullptr);
    CreateDirectoryW(L"C:\\KTEMP\\delphos", nullptr);
    CopyFileW((setting.examples + L"\\datos.xml").c_str(), setting.document.c_str(), FALSE);
    const std::wstring scenarioName = argv[1];
    if (scenarioName != L"host-instalado") DeleteFileW(setting.ini.c_str());
    setting.host = createHostWindow();
    wchar_t testHost[MAX_PATH];
    GetModuleFileNameW(nullptr, testHost, MAX_PATH);

    const std::map<std::wstring, std::function<void()>> scenarios = {
        {L"host-exportar", [&] { hostExportar(setting); }},
        {L"host-importar", [&] { hostImportar(setting); }},
        {L"host-exportar-sin-archivo", [&] { hostCancelled(setting, L"exportar", -1); }},
        {L"host-importar-sin-archivo", [&] { hostCancelled(setting, L"importar", 0); }},
        {L"host-sincronizar", [&] { hostSincronizar(setting); }},
        {L"host-no-es-ventana", [&] { hostNotAWindow(setting); }},
        {L"host-manejador-no-valido", [&] { hostInvalidHandle(setting); }},
        {L"interactivo", [&] { interactive(setting); }},
        {L"exportacion-fallida", [&] { failedExport(setting); }},
        {L"ayuda", [&] { ayuda(setting, testHost); }},
        {L"capturas", [&] { capturas(setting, 96); }},
        {L"capturas-144ppp", [&] { capturas(setting, 144); }},
        {L"pantalla-144ppp", [&] { screenAt144(setting); }},
        {L"host-sin-ppp", [&] { hostUnawareOfDpi(setting); }},
        {L"host-copia-virtualstore", [&] { hostVirtualStoreCopy(setting); }},
        {L"host-sin-permiso", [&] { hostWithoutPermission(setting); }},
        {L"host-instalado", [&] { hostInstalled(setting); }},
    };
    const auto scenario = scenarios.find(scenarioName);
    if (scenario == scenarios.end()) {
        std::printf("escenario desconocido\n");
        return 2;
    }
    scenario->second();
    DestroyWindow(setting.host);
    std::printf(failures ? "%d comprobaciones fallidas\n" : "correcto\n", failures);
    return failures ? 1 : 0;
}
