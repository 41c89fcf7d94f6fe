#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/windows/wide.h"
#include "help/kel_html_help.h"
#include "shell/command_line.h"
#include "win/dpi.h"
#include "win/main_window.h"
#include "win/message_box.h"

namespace {

// COM for the file dialog's shell views, for the life of the program.
class ComApartment {
  public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_;
};

// The process's parameters after its own path, as UTF-8.
std::vector<std::string> parameters() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; arguments && i < count; ++i)
        result.push_back(mirvane::os::narrow(arguments[i]));
    LocalFree(arguments);
    return result;
}

// The executable's path as the system reports it in the ANSI code page, as
// HTML Help's "A" entry reads the help file's name.
std::string executablePathAnsi() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

int runEventLoop(mirvane::win::TMForm& form) {
    const HWND mainWindow = form.handle();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(mainWindow) && form.takeHelpKey(message)) continue;
        if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    try {
        const ComApartment com;
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // The help bridge is installed before the main window exists and
        // gives back its viewer once the window is gone.
        mirvane::help::HelpSystem helpSystem;
        helpSystem.application().setHelpFile(mirvane::help::kHelpFileName);
        const mirvane::help::KelHtmlHelp bridge(helpSystem, mirvane::help::HtmlHelpEngine::load(),
                                                executablePathAnsi());
        std::vector<std::string> arguments = parameters();
        // Drawn inside the host's window, the window scales as the host does:
        // a DPI-unaware host is stretched by the system, and the window with it.
        if (const auto host = mirvane::shell::CommandLine(arguments).hostWindow())
            mirvane::win::adoptDpiAwarenessOf(reinterpret_cast<HWND>(*host));
        mirvane::win::TMForm MForm(std::move(arguments), mirvane::shell::installedFolders(),
                                   helpSystem);
        MForm.show();
        return runEventLoop(MForm);
    } catch (const std::exception& error) {
        mirvane::win::showErrorBox(nullptr, mirvane::withFullStop(error.what()));
        return 1;
    }
}
