#pragma once

#include <windows.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "help/help_system.h"
#include "shell/main_form.h"
#include "shell/window.h"
#include "win/bound_window.h"
#include "win/gdi.h"
#include "win/start_hour_dialog.h"

// TMForm: the program's main window. It draws and lays out the controls and
// passes every event to the shell's MainForm, which holds the rules.
namespace mirvane::win {

class TMForm final : public shell::Window, public BoundWindow {
  public:
    // Creates the window, hidden, and runs FormCreate. Help requests go to
    // `help`, which outlives the window.
    TMForm(std::vector<std::string> parameters, shell::Folders folders, help::HelpSystem& help);
    ~TMForm() override;
    TMForm(const TMForm&) = delete;
    TMForm& operator=(const TMForm&) = delete;

    // Shows the window; its first show runs FormShow once it is painted.
    void show();

    // F1 on the window or one of its controls: the help context of the
    // control, or the window's when the control has none. True when taken.
    bool takeHelpKey(const MSG& message);

    // shell::Window
    std::optional<std::filesystem::path> chooseFile() override;
    void showInformation(std::string_view message) override;
    void showError(std::string_view message) override;
    bool askYesNo(std::string_view question) override;
    void openWithDefaultProgram(const std::filesystem::path& file) override;
    void setBusyCursor(bool busy) override;
    void enableRunButtons(bool enabled) override;
    bool embedInto(std::uintptr_t handle) override;
    void close() override;
    exporting::StartHourPrompt& startHourPrompt() override { return prompt_; }

  private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCreate();
    void createControls();
    // Fonts, controls and labels at `dpi`, and the window's size to hold them.
    void layOut(UINT dpi);
    // The window's size for its client area, at its place or moved to `at`.
    void fitWindow(const POINT* at = nullptr);
    void paint();
    void onCommand(int id);

    help::HelpSystem& help_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    SIZE client_{};
    std::array<RECT, 3> labelAreas_{};  // Label3, Label4, Label1 as their texts need
    Font font_;
    Font boldFont_;
    Font titleFont_;
    Icon bigIcon_;    // Alt+Tab and the taskbar
    Icon smallIcon_;  // the title bar
    HWND BExportar_ = nullptr;
    HWND BImportar_ = nullptr;
    HWND BClose_ = nullptr;
    HWND Button1_ = nullptr;
    bool busy_ = false;
    std::wstring lastFile_;  // what the file dialog shows next
    StartHourPromptWindow prompt_;
    shell::MainForm form_;
};

}  // namespace mirvane::win
