#include "win/hour_edit.h"

#include <commctrl.h>

#include "base/error.h"
#include "base/windows/wide.h"
#include "win/message_box.h"

namespace mirvane::win {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// Posted when the field has lost the focus, so the check runs once the focus
// change is complete, and before the click that caused it is delivered.
constexpr UINT kCheckLeaving = WM_APP + 1;

class ClipboardText {
  public:
    explicit ClipboardText(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardText() {
        if (open_) CloseClipboard();
    }
    ClipboardText(const ClipboardText&) = delete;
    ClipboardText& operator=(const ClipboardText&) = delete;

    std::wstring read() const {
        if (!open_) return {};
        const HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (!data) return {};
        const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
        if (!text) return {};
        std::wstring copy(text);
        GlobalUnlock(data);
        return copy;
    }

  private:
    bool open_;
};

}  // namespace

HourEdit::HourEdit(HWND edit, std::string_view initialText) : edit_(edit), mask_(initialText) {
    SendMessageW(edit_, EM_SETLIMITTEXT, shell::HourMask::kLength, 0);
    SetWindowSubclass(edit_, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    show();
}

HourEdit::~HourEdit() {
    RemoveWindowSubclass(edit_, subclassProc, kSubclassId);
}

LRESULT CALLBACK HourEdit::subclassProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto* field = reinterpret_cast<HourEdit*>(self);
    (void)edit;
    return field->handle(message, wParam, lParam);
}

LRESULT HourEdit::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            // Enter and Escape belong to the field, not to the dialog.
            if (lParam && (wParam == VK_RETURN || wParam == VK_ESCAPE))
                return DLGC_WANTALLKEYS | DefSubclassProc(edit_, message, wParam, lParam);
            break;
        case WM_SETFOCUS:
            // Taking the focus back after a refusal keeps the edit going.
            if (!refusing_) mask_.focus();
            focused_ = true;
            DefSubclassProc(edit_, message, wParam, lParam);
            show();
            return 0;
        case WM_KILLFOCUS:
            focused_ = false;
            DefSubclassProc(edit_, message, wParam, lParam);
            show();
            if (!refusing_) PostMessageW(edit_, kCheckLeaving, 0, 0);
            return 0;
        case kCheckLeaving:
            // Not once the dialog has closed: the time has been read by then.
            if (!focused_ && IsWindowVisible(edit_)) acceptLeaving();
            return 0;
        case WM_CHAR:
            if (handleChar(static_cast<wchar_t>(wParam))) return 0;
            break;
        case WM_KEYDOWN:
            if (handleKey(wParam)) return 0;
            break;
        case WM_SETTEXT:
            // Text set by another program goes through the mask too.
            mask_.setText(lParam ? os::narrow(reinterpret_cast<const wchar_t*>(lParam))
                                 : std::string());
            show();
            return TRUE;
        case WM_PASTE:
            paste();
            return 0;
        case WM_CUT:
        case WM_CLEAR:
            if (message == WM_CUT) DefSubclassProc(edit_, WM_COPY, 0, 0);
            takeSelection();
            mask_.deleteForward();
            show();
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            return 0;
        default:
            break;
    }
    return DefSubclassProc(edit_, message, wParam, lParam);
}

bool HourEdit::handleChar(wchar_t c) {
    takeSelection();
    switch (c) {
        case VK_RETURN:
            if (acceptLeaving()) SendMessageW(GetParent(edit_), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
            return true;
        case VK_ESCAPE:
            if (mask_.changed()) mask_.abandonChanges();
            break;
        case VK_BACK:
            mask_.backspace();
            break;
        case 0x03:  // Ctrl+C: the edit control copies
            return false;
        case 0x16:  // Ctrl+V
            paste();
            return true;
        case 0x18:  // Ctrl+X
            SendMessageW(edit_, WM_CUT, 0, 0);
            return true;
        default:
            if (c > 0x7f || !mask_.type(static_cast<char>(c))) MessageBeep(MB_OK);
            break;
    }
    show();
    return true;
}

bool HourEdit::handleKey(WPARAM key) {
    takeSelection();
    switch (key) {
        case VK_LEFT:
            mask_.moveLeft();
            break;
        case VK_RIGHT:
            mask_.moveRight();
            break;
        case VK_HOME:
            mask_.moveHome();
            break;
        case VK_END:
            mask_.moveEnd();
            break;
        case VK_DELETE:
            mask_.deleteForward();
            break;
        case VK_UP:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
    show();
    return true;
}

void HourEdit::paste() {
    takeSelection();
    const std::string text = os::narrow(ClipboardText(edit_).read());
    if (!mask_.paste(text)) MessageBeep(MB_OK);
    show();
}

bool HourEdit::acceptLeaving() {
    if (!mask_.checkOnLeave()) return true;
    refusing_ = true;
    MessageBeep(MB_OK);
    SetFocus(edit_);
    show();
    showErrorBox(GetParent(edit_), withFullStop(std::string(shell::kInvalidInputMessage)));
    SetFocus(edit_);
    show();
    refusing_ = false;
    return false;
}

void HourEdit::takeSelection() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    mask_.select(start, end);
}

void HourEdit::show() {
    const std::wstring shown = os::widen(focused_ ? mask_.editText() : mask_.text());
    DefSubclassProc(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    DefSubclassProc(edit_, EM_SETSEL, mask_.caret(), static_cast<LPARAM>(mask_.selectionEnd()));
}

}  // namespace mirvane::win
