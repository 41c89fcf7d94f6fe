#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The start-hour field's edit mask "!90:00;1;_" as plain rules, so that the
// Win32 edit control only maps keys onto it: position 1 an optional digit,
// position 2 a required digit, position 3 the fixed ":", positions 4 and 5
// required digits. A blank position reads as a space and shows as "_" while
// the field is being edited.
namespace mirvane::shell {

// What the field reports when it is left, or Enter is pressed in it, with a
// required position blank after a change.
inline constexpr std::string_view kInvalidInputMessage =
    "Invalid input value.  Use escape key to abandon changes";

class HourMask {
  public:
    static constexpr std::size_t kLength = 5;

    // The field showing `text`: up to five characters, laid over the mask;
    // a character that does not fit its position is left blank.
    explicit HourMask(std::string_view text = "08:00");

    // Text set from outside the keyboard (WM_SETTEXT), laid over the mask as
    // the constructor does; a change counts as an edit.
    void setText(std::string_view text);

    // The text as read: five characters, a space for every blank position.
    std::string text() const;
    // The text as shown while editing: "_" for every blank position.
    std::string editText() const;

    // The caret, at the start of the selection [caret, selectionEnd): a
    // position from 0 to 5, never the fixed ":".
    std::size_t caret() const { return caret_; }
    std::size_t selectionEnd() const { return selectionEnd_; }
    // Takes the selection the edit control reports (by mouse or Shift).
    void select(std::size_t start, std::size_t end);
    void moveLeft();
    void moveRight();
    void moveHome();
    void moveEnd();

    // A typed character, overwriting the position at the caret (after
    // clearing a selection). False, and nothing changes, when it does not
    // fit: the field beeps. Typing ":" on the fixed position steps over it;
    // a blank may be typed on the optional first position.
    bool type(char c);
    // Blanks the selection, or the editable position before the caret.
    void backspace();
    // Blanks the selection, or the position at the caret.
    void deleteForward();
    // Types every character of `text` from the caret; the ":" of a pasted
    // time lands on the fixed position. All or nothing.
    bool paste(std::string_view text);

    // The field got the focus: its text now is what Escape returns to.
    void focus();
    // Whether the text was changed since the field got the focus.
    bool changed() const { return changed_; }
    // Escape: back to the text the field had when it got the focus.
    void abandonChanges();

    // The first required position left blank, when the field must refuse to
    // be left (the text changed since it got the focus); the caret is placed
    // there. Nothing when the field may be left.
    std::optional<std::size_t> checkOnLeave();

  private:
    void blank(std::size_t from, std::size_t to);
    bool eraseSelection();

    std::array<char, kLength> cells_{};  // ' ' for a blank position
    std::array<char, kLength> atFocus_{};
    std::size_t caret_ = 0;
    std::size_t selectionEnd_ = 0;
    bool changed_ = false;
};

}  // namespace mirvane::shell
