#include "export/start_hour_prompt.h"

#include "base/error.h"
#include "base/text.h"

namespace mirvane::exporting {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class FixedDialog final : public StartHourDialog {
  public:
    explicit FixedDialog(const std::string& text) : text_(text) {}

    std::string showAndRead() override {
        if (shown_)
            fail("La hora de inicio \"" + text::toUtf8(text_) +
                 "\" no es válida: indique una hora de 00 a 23 y minutos de 00 a 59 (HH:MM)");
        shown_ = true;
        return text_;
    }

  private:
    const std::string& text_;
    bool shown_ = false;
};

}  // namespace

bool isValidStartHour(std::string_view text) {
    if (text.size() != 5 || text[2] != ':') return false;
    if (!(text[0] == ' ' || isDigit(text[0])) || !isDigit(text[1])) return false;
    if (!isDigit(text[3]) || !isDigit(text[4])) return false;
    return text::toInt(text.substr(0, 2)) <= 23 && text::toInt(text.substr(3, 2)) <= 59;
}

FixedStartHour::FixedStartHour(std::string text) : text_(std::move(text)) {}

std::unique_ptr<StartHourDialog> FixedStartHour::createDialog() {
    return std::make_unique<FixedDialog>(text_);
}

}  // namespace mirvane::exporting
