#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "export/start_hour_prompt.h"
#include "win/bound_window.h"
#include "win/gdi.h"
#include "win/hour_edit.h"

// TFormInicioClase: the modal question of when the first lesson starts.
namespace mirvane::win {

class FormInicioClase final : public exporting::StartHourDialog, public BoundWindow {
  public:
    // A hidden window owned by `owner`, showing the initial time. While
    // `busy` is true the hourglass stays over it, as over the main window.
    FormInicioClase(HWND owner, const bool& busy);
    ~FormInicioClase() override;

    // Shows the window modally until "Continuar" or the close box closes it.
    std::string showAndRead() override;

  private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCreate();
    void createControls();
    // Fonts and controls at `dpi`, and the client area that holds them.
    void layOut(UINT dpi);
    // The window's size for its client area, moved to `at`.
    void fitWindowAt(POINT at);
    LRESULT labelColours(HDC dc, HWND label);

    HWND owner_;
    const bool& busy_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    SIZE client_{};
    Font font_;
    Font boldFont_;
    Brush fieldBrush_;
    Brush explicaBrush_;
    HWND continuar_ = nullptr;
    HWND hora_ = nullptr;
    HWND LabelExplica_ = nullptr;
    HWND LabelIniClase_ = nullptr;
    std::unique_ptr<HourEdit> MEHora0_;
    bool closed_ = false;
};

// The prompt the export run asks, as this window shows it.
class StartHourPromptWindow final : public exporting::StartHourPrompt {
  public:
    // `owner` and `busy` are the main window's, read when the prompt is asked.
    StartHourPromptWindow(const BoundWindow& owner, const bool& busy)
        : owner_(owner), busy_(busy) {}
    std::unique_ptr<exporting::StartHourDialog> createDialog() override {
        return std::make_unique<FormInicioClase>(owner_.handle(), busy_);
    }

  private:
    const BoundWindow& owner_;
    const bool& busy_;
};

}  // namespace mirvane::win
