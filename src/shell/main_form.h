#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/os_virtualization.h"
#include "report/report_file.h"
#include "shell/command_line.h"
#include "shell/window.h"

// The main window's rules, without the window: start-up from the command
// line, the export and import runs from the choice of the file to the final
// message, and the result code handed to the host on close. The window calls
// one handler per event and shows what the handlers ask of it.
namespace mirvane::shell {

// Where the runs work and where the host keeps its INI file.
struct Folders {
    std::filesystem::path work;           // C:\KTEMP
    std::filesystem::path executable;     // the program's own folder, beside the host's
    os::Virtualization virtualization{};  // where a virtualized host reads that file instead
};

// The folders of the running program on this system.
Folders installedFolders();

class MainForm {
  public:
    // `parameters`: the process's parameters after the program's own path, UTF-8.
    MainForm(Window& window, std::vector<std::string> parameters, Folders folders);

    // Event handlers. Each one reports its own errors once, in an error box,
    // and raises nothing: the window calls them straight from its events.

    // The window has been created, before it is shown: in host mode it is
    // embedded into the host's window.
    void FormCreate();
    // The window is shown for the first time: in host mode, the mode word's
    // run. Later calls do nothing.
    void FormShow();
    // The window is closing, whatever closed it: in host mode, the result
    // code goes into the host's INI file. A failure to write it is reported
    // and the close goes on. Only the first call acts, so the window may call
    // it both when asked to close and when destroyed by its host.
    void FormClose();
    void BExportarClick();
    void BImportarClick();

    // The state the rules keep, for the window and the tests.
    bool hostMode() const { return hostMode_; }
    std::int32_t resultCode() const { return resultCode_; }
    const std::filesystem::path& lastChosenFile() const { return lastChosenFile_; }

  private:
    // The export with its error reported and, after the error box, the offer
    // of the report of a run that stopped half-way.
    void exportReportingErrors();
    // The runs raise their errors; the handlers above report them. Both ask
    // for the report beside the chosen document; the export hands back the
    // report of a run that failed once it had begun writing tables.
    void exportRun(std::optional<report::RunReport>& unfinished);
    void importRun();
    // Step 1 and 2 of both runs: whether the file dialog left an existing
    // file to work on; if not, "No existe archivo" and, in host mode, the
    // given result code and the close.
    bool chooseExistingFile(std::int32_t codeWithoutFile);
    // The last steps of a run that reached its end, `run` naming it ("La
    // exportación"): the offer of the report when it has warnings, else of
    // the import's timetable, then in host mode the close.
    void finishRun(std::string_view run, const std::optional<report::RunReport>& runReport,
                   const std::optional<report::RunReport>& timetable = std::nullopt);
    // Asks `question` about a saved page and opens it on yes.
    void offerReport(const std::optional<report::RunReport>& runReport,
                     const std::string& question);
    template <typename Step>
    void reportingErrors(Step step);

    Window& window_;
    CommandLine commandLine_;
    Folders folders_;
    bool hostMode_ = false;
    bool shown_ = false;
    bool closed_ = false;
    std::int32_t resultCode_ = 0;
    std::filesystem::path lastChosenFile_;
};

}  // namespace mirvane::shell
