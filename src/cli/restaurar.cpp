#include <memory>
#include <sstream>
#include <string>

#include "base/os_console.h"
#include "base/paths.h"
#include "cli/commands.h"
#include "core/table_set.h"

namespace mirvane::cli {
namespace {

int restaurar(const std::string& folderGiven) {
    const std::filesystem::path folder = workFolder(folderGiven);
    std::ostringstream out;
    printRecoveryLine(out, core::recoverInterruptedChange(folder));
    const std::vector<std::string> restored = core::restoreEarlierTables(folder);
    out << "Tablas anteriores restauradas en " << paths::toUtf8(folder) << ":";
    for (const std::string& name : restored) out << " " << name;
    out << "\nLas que había se guardan ahora en "
        << paths::toUtf8(core::TableSetFolders(folder).earlier)
        << "; para volver a ellas, repita «mirvane-cli restaurar».\n";
    os::writeConsole(os::Stream::Output, out.str());
    return 0;
}

}  // namespace

void addRestaurarCommand(CLI::App& app, Action& action) {
    auto folder = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand(
        "restaurar",
        "Volver a las tablas de trabajo de antes de la última exportación (o deshacer la "
        "última restauración): Mirvane las guarda en la carpeta Mirvane\\anterior de la carpeta "
        "de trabajo.");
    addFolder(*command, *folder);
    command->callback([&action, folder] { action = [folder] { return restaurar(*folder); }; });
}

}  // namespace mirvane::cli
