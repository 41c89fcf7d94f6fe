#include "shell/main_form.h"

#include <exception>
#include <new>
#include <string>

#include "base/error.h"
#include "base/paths.h"
#include "core/export_run.h"
#include "core/import_run.h"
#include "core/run_common.h"
#include "shell/busy_cursor.h"
#include "shell/host_result.h"

namespace mirvane::shell {

Folders installedFolders() {
    return {paths::fromWindows(paths::kWorkFolder), paths::executableFolder()};
}

MainForm::MainForm(Window& window, std::vector<std::string> parameters, Folders folders)
    : window_(window), commandLine_(std::move(parameters)), folders_(std::move(folders)) {}

// The one place where errors end: reported once, the window left as the
// failed step left it. Errors of other kinds do not come from the runs'
// rules, but must not escape into the window's event loop either.
template <typename Step>
void MainForm::reportingErrors(Step step) {
    try {
        step();
    } catch (const Error& error) {
        window_.showError(withFullStop(error.what()));
    } catch (const std::bad_alloc&) {
        window_.showError("No hay memoria suficiente para terminar el proceso.");
    } catch (const std::exception& error) {
        window_.showError(withFullStop(std::string("Error inesperado: ") + error.what()));
    }
}

void MainForm::FormCreate() {
    resultCode_ = kResultStart;
    if (!commandLine_.fromHost()) return;
    reportingErrors([this] {
        const std::uintptr_t handle = commandLine_.hostHandle();
        // A handle that names no window leaves the window top-level, but the
        // host still waits for its result code: host mode stays on.
        window_.embedInto(handle);
        hostMode_ = true;
    });
}

void MainForm::FormShow() {
    // The parameters decide, not the host-mode flag: a mode word starts its
    // run even when the handle did not convert.
    if (shown_ || !commandLine_.fromHost()) return;
    shown_ = true;
    switch (commandLine_.modeWord()) {
        case ModeWord::Importar:
            reportingErrors([this] { importRun(); });
            break;
        case ModeWord::Exportar:
            reportingErrors([this] { exportRun(); });
            break;
        case ModeWord::None:
            break;
    }
}

void MainForm::FormClose() {
    if (closed_) return;
    closed_ = true;
    if (!hostMode_) return;
    reportingErrors([this] { writeResultCode(folders_.executable, resultCode_); });
}

void MainForm::BExportarClick() {
    reportingErrors([this] { exportRun(); });
}

void MainForm::BImportarClick() {
    reportingErrors([this] { importRun(); });
}

bool MainForm::chooseExistingFile(std::int32_t codeWithoutFile) {
    // A cancelled dialog keeps the file of an earlier attempt.
    if (auto chosen = window_.chooseFile()) lastChosenFile_ = std::move(*chosen);
    if (core::chosenFileExists(lastChosenFile_)) return true;
    window_.showInformation(core::kNoFileMessage);
    if (hostMode_) {
        resultCode_ = codeWithoutFile;
        window_.close();
    }
    return false;
}

void MainForm::exportRun() {
    if (!chooseExistingFile(kResultExportWithoutFile)) return;
    core::ExportRun run(folders_.work, window_.startHourPrompt());
    run.load(lastChosenFile_);
    BusyCursor busy(window_);
    run.writeTables();
    busy.restore();
    finishRun();
}

void MainForm::importRun() {
    if (!chooseExistingFile(kResultStart)) return;
    BusyCursor busy(window_);  // before the load, unlike the export run
    core::ImportRun run(folders_.work);
    run.load(lastChosenFile_);
    run.build();
    busy.restore();
    finishRun();
}

void MainForm::finishRun() {
    resultCode_ = kResultCompleted;
    window_.showInformation(core::kFinishedMessage);
    // One completed run per process.
    window_.enableRunButtons(false);
    if (hostMode_) window_.close();
}

}  // namespace mirvane::shell
