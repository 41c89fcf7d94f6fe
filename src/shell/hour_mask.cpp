#include "shell/hour_mask.h"

#include <algorithm>

namespace mirvane::shell {
namespace {

constexpr std::size_t kLiteralPosition = 2;
constexpr char kLiteral = ':';
constexpr char kBlank = ' ';
constexpr char kShownBlank = '_';
// Positions that must hold a digit before the field may be left: the first
// hour digit is optional.
constexpr std::array<std::size_t, 3> kRequired = {1, 3, 4};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isEditable(std::size_t position) {
    return position != kLiteralPosition;
}

bool isOptional(std::size_t position) {
    return position == 0;
}

}  // namespace

HourMask::HourMask(std::string_view text) {
    setText(text);
    atFocus_ = cells_;
    changed_ = false;
}

void HourMask::setText(std::string_view text) {
    const auto before = cells_;
    cells_.fill(kBlank);
    cells_[kLiteralPosition] = kLiteral;
    for (std::size_t i = 0; i < kLength && i < text.size(); ++i)
        if (isEditable(i) && isDigit(text[i])) cells_[i] = text[i];
    if (cells_ != before) changed_ = true;
    select(0, 0);
}

std::string HourMask::text() const {
    return std::string(cells_.begin(), cells_.end());
}

std::string HourMask::editText() const {
    std::string shown = text();
    std::replace(shown.begin(), shown.end(), kBlank, kShownBlank);
    return shown;
}

void HourMask::select(std::size_t start, std::size_t end) {
    start = std::min(start, kLength);
    end = std::clamp(end, start, kLength);
    if (start == kLiteralPosition && end <= kLiteralPosition + 1)
        start = end = kLiteralPosition + 1;
    caret_ = start;
    selectionEnd_ = end;
}

void HourMask::moveLeft() {
    std::size_t to = caret_ == 0 ? 0 : caret_ - 1;
    if (!isEditable(to)) --to;
    select(to, to);
}

void HourMask::moveRight() {
    std::size_t to = std::min(caret_ + 1, kLength);
    if (!isEditable(to)) ++to;
    select(to, to);
}

void HourMask::moveHome() {
    select(0, 0);
}

void HourMask::moveEnd() {
    select(kLength, kLength);
}

void HourMask::blank(std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < kLength; ++i) {
        if (!isEditable(i) || cells_[i] == kBlank) continue;
        cells_[i] = kBlank;
        changed_ = true;
    }
}

bool HourMask::eraseSelection() {
    if (selectionEnd_ <= caret_) return false;
    blank(caret_, selectionEnd_);
    selectionEnd_ = caret_;
    return true;
}

bool HourMask::type(char c) {
    std::size_t at = caret_;
    if (c == kLiteral && at == kLiteralPosition + 1 && selectionEnd_ == at) return true;
    // A blank typed on the optional position leaves it blank: " 8:30".
    const bool blankTyped = c == kBlank && isOptional(at);
    if ((!isDigit(c) && !blankTyped) || at >= kLength) return false;
    eraseSelection();
    if (cells_[at] != c) changed_ = true;
    cells_[at] = c;
    moveRight();
    return true;
}

void HourMask::backspace() {
    if (eraseSelection() || caret_ == 0) return;
    moveLeft();
    blank(caret_, caret_ + 1);
}

void HourMask::deleteForward() {
    if (eraseSelection()) return;
    blank(caret_, caret_ + 1);
}

bool HourMask::paste(std::string_view text) {
    HourMask trial = *this;
    for (const char c : text)
        if (!trial.type(c)) return false;
    *this = trial;
    return true;
}

void HourMask::focus() {
    atFocus_ = cells_;
    changed_ = false;
}

void HourMask::abandonChanges() {
    cells_ = atFocus_;
    changed_ = false;
    select(0, 0);
}

std::optional<std::size_t> HourMask::checkOnLeave() {
    if (!changed_) return std::nullopt;
    for (const std::size_t position : kRequired) {
        if (cells_[position] != kBlank) continue;
        select(position, position);
        return position;
    }
    return std::nullopt;
}

}  // namespace mirvane::shell
