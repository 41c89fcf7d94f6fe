#include "win/bound_window.h"

#include <utility>

#include "base/error.h"
#include "win/message_box.h"

namespace mirvane::win {

BoundWindow::~BoundWindow() {
    if (!window_) return;
    const HWND window = window_;
    detach();
    DestroyWindow(window);
}

bool BoundWindow::registerClass(const wchar_t* className, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

void BoundWindow::create(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                         DWORD style, HWND owner, const std::string& failure) {
    const HWND made = CreateWindowExW(exStyle, className, caption, style, 0, 0, 0, 0, owner,
                                      nullptr, GetModuleHandleW(nullptr), this);
    if (creationError_) std::rethrow_exception(std::exchange(creationError_, nullptr));
    if (!made) fail(failure);
}

LRESULT CALLBACK BoundWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* bound = static_cast<BoundWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        bound->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bound));
    }
    auto* bound = reinterpret_cast<BoundWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!bound) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = bound->onMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        if (message == WM_CREATE) {
            // The system destroys a window whose creation fails; its object,
            // only half made, hears nothing of that.
            bound->creationError_ = std::current_exception();
            bound->detach();
            return -1;
        }
        showErrorBox(window, withFullStop(error.what()));
    }
    if (message == WM_NCDESTROY) bound->detach();  // the window's last message
    return result;
}

void BoundWindow::detach() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
}

}  // namespace mirvane::win
