#pragma once

#include <windows.h>

#include <string>

#include "shell/hour_mask.h"

// MEHora0: an EDIT control whose keys, pastes and focus changes go through
// the hour mask, which decides what the field holds.
namespace mirvane::win {

class HourEdit {
  public:
    // Binds the mask to `edit`, an EDIT control that lives as long as this.
    HourEdit(HWND edit, std::string_view initialText);
    ~HourEdit();
    HourEdit(const HourEdit&) = delete;
    HourEdit& operator=(const HourEdit&) = delete;

    // The field's text as read: five characters, a space for a blank.
    std::string text() const { return mask_.text(); }

    // Enter in the field or leaving it: false after beeping, reporting and
    // keeping the focus on the first blank required position.
    bool acceptLeaving();

  private:
    static LRESULT CALLBACK subclassProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool handleChar(wchar_t c);
    bool handleKey(WPARAM key);
    void takeSelection();
    void show();
    void paste();

    HWND edit_;
    shell::HourMask mask_;
    bool focused_ = false;
    bool refusing_ = false;  // the error box is up or the focus is being taken back
};

}  // namespace mirvane::win
