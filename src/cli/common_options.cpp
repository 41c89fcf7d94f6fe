#include "base/error.h"
#include "base/os_console.h"
#include "base/paths.h"
#include "cli/commands.h"
#include "core/chosen_file.h"

namespace mirvane::cli {

void addDocumentAndFolder(CLI::App& command, std::string& document, std::string& folder) {
    command.add_option("DOCUMENTO", document, "Documento de intercambio de Delphos (XML)")
        ->required()
        ->type_name("");
    addFolder(command, folder);
}

void addFolder(CLI::App& command, std::string& folder) {
    command
        .add_option("--carpeta", folder, "Carpeta de trabajo (por omisión " + defaultFolder() + ")")
        ->type_name("CARPETA");
}

// C:\KTEMP as this system reaches it: on Linux, inside the Wine prefix.
std::string defaultFolder() {
    const std::string reached = paths::toUtf8(workFolder(""));
    const std::string windows(paths::kWorkFolder);
    return reached == windows ? windows : windows + ", aquí " + reached;
}

void addReportOptions(CLI::App& command, ReportOptions& options) {
    CLI::Option* elsewhere = command
                                 .add_option("--informe", options.path,
                                             "Dónde escribir el informe, que dice lo que no "
                                             "ha pasado tal cual y qué hacer (por omisión, "
                                             "junto al documento, con el nombre de este)")
                                 ->type_name("RUTA");
    command.add_flag("--sin-informe", options.none, "No escribir el informe")->excludes(elsewhere);
}

void printReportLine(std::ostream& out, const std::optional<report::RunReport>& written) {
    if (!written) return;
    if (!written->failure.empty()) {
        out << "No se pudo escribir el informe: " << withFullStop(written->failure) << "\n";
        return;
    }
    if (written->warnings == 0)
        out << "Informe sin avisos: ";
    else
        out << "Informe con " << written->warnings
            << (written->warnings == 1 ? " aviso: " : " avisos: ");
    out << paths::toUtf8(written->path) << "\n";
}

void printNoFile(const std::string& document) {
    os::writeConsole(os::Stream::Errors,
                     std::string(core::kNoFileMessage) + ": «" + document + "»\n");
}

void printRecoveryLine(std::ostream& out, core::Recovery recovery) {
    if (recovery != core::Recovery::None) out << core::recoveryMessage(recovery) << "\n";
}

std::filesystem::path workFolder(const std::string& given) {
    return given.empty() ? paths::fromWindows(paths::kWorkFolder) : paths::fromUtf8(given);
}

}  // namespace mirvane::cli
