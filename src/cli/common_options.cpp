#include "base/paths.h"
#include "cli/commands.h"

namespace mirvane::cli {

void addDocumentAndFolder(CLI::App& command, std::string& document, std::string& folder) {
    command.add_option("DOCUMENTO", document, "Documento de intercambio de Delphos (XML)")
        ->required();
    command.add_option("--carpeta", folder, "Carpeta de trabajo (por omisión C:\\KTEMP)");
}

std::filesystem::path workFolder(const std::string& given) {
    return given.empty() ? paths::fromWindows(paths::kWorkFolder) : paths::fromUtf8(given);
}

}  // namespace mirvane::cli
