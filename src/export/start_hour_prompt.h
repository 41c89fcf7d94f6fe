#pragma once

#include <memory>
#include <string>
#include <string_view>

// The start-hour prompt: the question, asked once per export run, of when the
// first lesson of the day starts. The window shows its dialog; the command
// line answers with a fixed time.
namespace mirvane::exporting {

// The prompt's initial text.
inline constexpr std::string_view kInitialStartHour = "08:00";

// One prompt window, created for one call of ExportarTramos and released at
// its end.
class StartHourDialog {
  public:
    virtual ~StartHourDialog() = default;
    // Shows the window modally and, once it closes, returns the text of its
    // field: both hour positions, ":", both minute positions, a blank position
    // read as a space. Shown again after a rejected time, it still shows that
    // time.
    virtual std::string showAndRead() = 0;
};

class StartHourPrompt {
  public:
    virtual ~StartHourPrompt() = default;
    // A new window showing kInitialStartHour.
    virtual std::unique_ptr<StartHourDialog> createDialog() = 0;
};

// Whether the prompt's field could read `text` and ExportarTramos would take
// it: five characters, a digit or a blank, a digit, ":", two digits, with an
// hour of at most 23 and minutes of at most 59. " 8:30" is taken.
bool isValidStartHour(std::string_view text);

// A prompt that always answers the same time, for runs without a window.
// Since it cannot be corrected, a time that ExportarTramos rejects raises an
// error the second time it is asked for, instead of being asked for forever.
class FixedStartHour final : public StartHourPrompt {
  public:
    explicit FixedStartHour(std::string text = std::string(kInitialStartHour));
    std::unique_ptr<StartHourDialog> createDialog() override;

  private:
    std::string text_;
};

}  // namespace mirvane::exporting
