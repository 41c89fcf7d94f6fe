#include "shell/main_form.h"

#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/paths.h"
#include "core/chosen_file.h"
#include "core/export_run.h"
#include "core/import_run.h"
#include "shell/busy_cursor.h"
#include "shell/host_result.h"

namespace mirvane::shell {
namespace {

// "La importación tiene 6 avisos. ¿Desea abrir el informe?"
std::string warningsQuestion(std::string_view run, std::size_t warnings) {
    return std::string(run) + " tiene " + std::to_string(warnings) +
           (warnings == 1 ? " aviso" : " avisos") + ". ¿Desea abrir el informe?";
}

constexpr std::string_view kTimetableQuestion =
    "¿Desea ver el horario tal como lo recibirá Delphos?";

bool saved(const std::optional<report::RunReport>& page) {
    return page && page->failure.empty();
}

constexpr std::string_view kUnfinishedQuestion =
    "Las tablas de Tablexa no han cambiado. El informe dice dónde se detuvo la exportación. ¿Desea "
    "abrir el informe?";

}  // namespace

Folders installedFolders() {
    return {paths::fromWindows(paths::kWorkFolder), paths::executableFolder(),
            os::fileVirtualization()};
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
            exportReportingErrors();
            break;
        case ModeWord::None:
            break;
    }
}

void MainForm::FormClose() {
    if (closed_) return;
    closed_ = true;
    if (!hostMode_) return;
    reportingErrors(
        [this] { writeResultCode(folders_.executable, folders_.virtualization, resultCode_); });
}

void MainForm::BExportarClick() {
    exportReportingErrors();
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

void MainForm::exportReportingErrors() {
    std::optional<report::RunReport> unfinished;
    reportingErrors([this, &unfinished] { exportRun(unfinished); });
    offerReport(unfinished, std::string(kUnfinishedQuestion));
}

void MainForm::exportRun(std::optional<report::RunReport>& unfinished) {
    if (!chooseExistingFile(kResultExportWithoutFile)) return;
    core::ExportRun run(folders_.work, window_.startHourPrompt());
    run.requestReport();
    run.load(lastChosenFile_);
    BusyCursor busy(window_);
    try {
        run.writeTables();
    } catch (...) {
        // The run dies with this scope; its report outlives it, to be offered
        // once the error has been shown.
        unfinished = run.runReport();
        throw;
    }
    busy.restore();
    finishRun("La exportación", run.runReport());
}

void MainForm::importRun() {
    if (!chooseExistingFile(kResultStart)) return;
    BusyCursor busy(window_);  // before the load, unlike the export run
    core::ImportRun run(folders_.work);
    run.requestReport();
    run.requestTimetable();
    run.load(lastChosenFile_);
    run.build();
    busy.restore();
    finishRun("La importación", run.runReport(), run.timetable());
}

void MainForm::finishRun(std::string_view run, const std::optional<report::RunReport>& runReport,
                         const std::optional<report::RunReport>& timetable) {
    resultCode_ = kResultCompleted;
    window_.showInformation(core::kFinishedMessage);
    // One completed run per process.
    window_.enableRunButtons(false);
    // One question at most: what went wrong first, else the timetable; each
    // page links to the other. Asked in host mode too, before the window
    // closes: the host waits for the close anyway, and a person started it.
    if (saved(runReport) && runReport->warnings > 0)
        offerReport(runReport, warningsQuestion(run, runReport->warnings));
    else if (saved(timetable))
        offerReport(timetable, std::string(kTimetableQuestion));
    if (hostMode_) window_.close();
}

void MainForm::offerReport(const std::optional<report::RunReport>& runReport,
                           const std::string& question) {
    if (!saved(runReport)) return;
    if (window_.askYesNo(question)) window_.openWithDefaultProgram(runReport->path);
}

}  // namespace mirvane::shell
