#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "export/start_hour_prompt.h"

// What the start-up and run rules need from the main window. The Win32
// window implements it; the tests script it. Texts are UTF-8. None of these
// calls raises an error: they are called from handlers that report errors and
// from the destructor that restores the cursor.
namespace mirvane::shell {

class Window {
  public:
    virtual ~Window() = default;

    // OpenDialogXML: the file the user confirmed, or nothing when cancelled.
    virtual std::optional<std::filesystem::path> chooseFile() = 0;

    // Modal boxes captioned with the application title; they return once the
    // user has pressed OK.
    virtual void showInformation(std::string_view message) = 0;
    virtual void showError(std::string_view message) = 0;
    // A question box with the question icon and Yes and No buttons, captioned
    // like the others: true when the user answers yes.
    virtual bool askYesNo(std::string_view question) = 0;

    // Opens `file` with the program the system has for its kind, without
    // waiting for it. A failure is shown by the window in an error box.
    virtual void openWithDefaultProgram(const std::filesystem::path& file) = 0;

    // The screen-wide hourglass cursor on or off.
    virtual void setBusyCursor(bool busy) = 0;

    // BExportar and BImportar together.
    virtual void enableRunButtons(bool enabled) = 0;

    // Makes the window a borderless child of the host window `handle`.
    // False when the handle names no window (the window stays top-level).
    virtual bool embedInto(std::uintptr_t handle) = 0;

    // Asks the main window to close, as the "&Salir" button does: the window
    // calls MainForm::FormClose on its way out, and the program ends.
    virtual void close() = 0;

    // The start-hour prompt the export run asks.
    virtual exporting::StartHourPrompt& startHourPrompt() = 0;
};

}  // namespace mirvane::shell
