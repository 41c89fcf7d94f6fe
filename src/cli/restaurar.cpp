#include <algorithm>
#include <memory>
#include <sstream>
#include <string>

#include "base/os_console.h"
#include "base/paths.h"
#include "base/text.h"
#include "cli/commands.h"
#include "core/table_set.h"
#include "report/school_words.h"

namespace mirvane::cli {
namespace {

// "materias (ASIGNOMT.DBF, ASIGNOMT.MDX), profesores (PROFT.DBF) y …", in
// the order given, each table's files together.
std::string inWords(const std::vector<std::string>& files) {
    std::vector<std::pair<std::string, std::string>> tables;  // table, its files
    for (const std::string& file : files) {
        std::string table = file.substr(0, file.find('.'));
        for (char& c : table) c = text::toUpper(c);
        auto at = std::find_if(tables.begin(), tables.end(),
                               [&](const auto& entry) { return entry.first == table; });
        if (at == tables.end())
            tables.emplace_back(table, file);
        else
            at->second += ", " + file;
    }
    std::vector<std::string> named;
    for (const auto& [table, names] : tables)
        named.push_back(std::string(report::tableNoun(table)) + " (" + names + ")");
    return report::listed(named);
}

int restaurar(const std::string& folderGiven) {
    const std::filesystem::path folder = workFolder(folderGiven);
    // Told at once: the restore may still fail, and the tables have changed.
    std::ostringstream recovered;
    printRecoveryLine(recovered, core::recoverInterruptedChange(folder));
    os::writeConsole(os::Stream::Output, recovered.str());
    std::ostringstream out;
    out << "Tablas anteriores restauradas en " << paths::toUtf8(folder) << ": "
        << inWords(core::restoreEarlierTables(folder)) << "\nLas que había se guardan ahora en "
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
