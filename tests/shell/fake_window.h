#pragma once

#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/start_hour_prompt.h"
#include "shell/window.h"

// A window for the shell's tests: it answers the file dialog and the start-hour
// prompt from a script and records, in order, everything asked of it.
namespace mirvane::shell::testing {

class FakeWindow final : public Window, public exporting::StartHourPrompt {
  public:
    // The file dialog's answers, one per showing; nothing is a cancel, and so
    // is a dialog shown once the script has run out.
    std::deque<std::optional<std::filesystem::path>> files;
    // The prompt's answers, one per showing; "08:00" once they run out.
    std::deque<std::string> startHours;
    // The question boxes' answers, one per showing; no once they run out.
    std::deque<bool> answers;
    // Whether the host handle names a window.
    bool handleIsAWindow = true;

    std::vector<std::string> calls;
    std::vector<std::filesystem::path> opened;
    bool busy = false;
    bool buttonsEnabled = true;
    bool closeAsked = false;

    std::optional<std::filesystem::path> chooseFile() override {
        calls.push_back("choose");
        if (files.empty()) return std::nullopt;
        auto answer = files.front();
        files.pop_front();
        return answer;
    }
    void showInformation(std::string_view message) override {
        calls.push_back("info " + std::string(message));
    }
    void showError(std::string_view message) override {
        calls.push_back("error " + std::string(message));
    }
    bool askYesNo(std::string_view question) override {
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        calls.push_back("ask " + std::string(question) + (yes ? " -> yes" : " -> no"));
        return yes;
    }
    // Recorded by file name; the whole path goes to `opened`.
    void openWithDefaultProgram(const std::filesystem::path& file) override {
        opened.push_back(file);
        calls.push_back("open " + file.filename().string());
    }
    void setBusyCursor(bool on) override {
        busy = on;
        calls.push_back(on ? "busy on" : "busy off");
    }
    void enableRunButtons(bool enabled) override {
        buttonsEnabled = enabled;
        calls.push_back(enabled ? "buttons on" : "buttons off");
    }
    bool embedInto(std::uintptr_t handle) override {
        char text[32];
        std::snprintf(text, sizeof text, "embed %llx", static_cast<unsigned long long>(handle));
        calls.push_back(text);
        return handleIsAWindow;
    }
    void close() override {
        closeAsked = true;
        calls.push_back("close");
    }
    exporting::StartHourPrompt& startHourPrompt() override { return *this; }

    std::unique_ptr<exporting::StartHourDialog> createDialog() override {
        return std::make_unique<Dialog>(*this);
    }

  private:
    class Dialog final : public exporting::StartHourDialog {
      public:
        explicit Dialog(FakeWindow& window) : window_(window) {}
        std::string showAndRead() override {
            std::string answer(exporting::kInitialStartHour);
            if (!window_.startHours.empty()) {
                answer = window_.startHours.front();
                window_.startHours.pop_front();
            }
            window_.calls.push_back("prompt " + answer + (window_.busy ? " (busy)" : ""));
            return answer;
        }

      private:
        FakeWindow& window_;
    };
};

}  // namespace mirvane::shell::testing
