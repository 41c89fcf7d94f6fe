#pragma once

#include <windows.h>

#include <exception>
#include <string>

// The object behind a window of this program. The object is handed to its
// window at creation (CREATESTRUCT::lpCreateParams) and bound on
// WM_NCCREATE, so its handlers see every message from WM_CREATE to
// WM_NCDESTROY. The one window procedure only dispatches: what a handler
// raises is shown in an error box, never thrown through Windows, except
// during WM_CREATE, where the window is not made and the error reaches
// whoever creates it.
namespace mirvane::win {

class BoundWindow {
  public:
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    // Null before creation and once the window is destroyed.
    HWND handle() const { return window_; }

    // Registers a window class of this program whose windows reach their
    // objects, with the arrow cursor and `icon` (none when null); false when
    // the system refuses.
    static bool registerClass(const wchar_t* className, HICON icon);

  protected:
    BoundWindow() = default;
    // Destroys a window still alive, without its handlers: a window that
    // needs them on its way out destroys itself in its own destructor.
    ~BoundWindow();

    // Creates this object's window, of a class registered above, with no size
    // yet: WM_CREATE places it. Raises what the WM_CREATE handler raised, or
    // `failure` when the system refuses.
    void create(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                HWND owner, const std::string& failure);

    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void detach();

    HWND window_ = nullptr;
    std::exception_ptr creationError_;
};

}  // namespace mirvane::win
