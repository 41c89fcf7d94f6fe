#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "export/start_hour_prompt.h"
#include "win/gdi.h"
#include "win/hour_edit.h"

// TFormInicioClase: the modal question of when the first lesson starts.
namespace mirvane::win {

class FormInicioClase final : public exporting::StartHourDialog {
  public:
    // A hidden window owned by `owner`, showing the initial time. While
    // `busy` is true the hourglass stays over it, as over the main window.
    FormInicioClase(HWND owner, const bool& busy);

    // Shows the window modally until "Continuar" or the close box closes it.
    std::string showAndRead() override;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void createControls();

    HWND owner_;
    const bool& busy_;
    UINT dpi_;
    Font font_;
    Font boldFont_;
    Brush fieldBrush_;
    OwnedWindow window_;
    HWND continuar_ = nullptr;
    HWND hora_ = nullptr;
    std::unique_ptr<HourEdit> MEHora0_;
    bool closed_ = false;
};

// The prompt the export run asks, as this window shows it.
class StartHourPromptWindow final : public exporting::StartHourPrompt {
  public:
    // `owner` and `busy` are the main window's, read when the prompt is asked.
    StartHourPromptWindow(const HWND& owner, const bool& busy) : owner_(owner), busy_(busy) {}
    std::unique_ptr<exporting::StartHourDialog> createDialog() override {
        return std::make_unique<FormInicioClase>(owner_, busy_);
    }

  private:
    const HWND& owner_;
    const bool& busy_;
};

}  // namespace mirvane::win
