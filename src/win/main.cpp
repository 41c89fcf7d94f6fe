#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "win/main_window.h"
#include "win/message_box.h"
#include "win/wide.h"

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
        result.push_back(mirvane::win::toUtf8(arguments[i]));
    LocalFree(arguments);
    return result;
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
        mirvane::win::TMForm MForm(parameters(), mirvane::shell::installedFolders());
        MForm.show();
        return runEventLoop(MForm);
    } catch (const std::exception& error) {
        mirvane::win::showErrorBox(nullptr, mirvane::withFullStop(error.what()));
        return 1;
    }
}
