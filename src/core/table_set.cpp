#include "core/table_set.h"

#include <algorithm>

#include "base/error.h"
#include "base/os_file.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"
#include "core/set_change.h"
#include "dbf/lock.h"
#include "dbf/messages.h"
#include "formats/work_tables.h"

namespace mirvane::core {
namespace {

const formats::TableSpec* const kTables[] = {&formats::kAsignomt, &formats::kProft,
                                             &formats::kAulat,    &formats::kGrupost,
                                             &formats::kAsigt,    &formats::kDiashorast};
constexpr std::string_view kExtensions[] = {".DBF", ".MDX"};

bool isFolder(const std::filesystem::path& path) {
    os::Failure ignored;
    return os::kindOf(path, ignored) == os::Kind::Directory;
}

// Everything in the staging folder is Mirvane's own: the tables of an export
// that stopped, and what their writing left.
void removeStaging(const TableSetFolders& folders) {
    os::Failure failure;
    for (const std::string& name : os::listFolder(folders.staging, failure)) {
        const std::filesystem::path file = folders.staging / paths::fromUtf8(name);
        if (!os::remove(file, failure))
            fail("No se puede borrar " + dbf::shown(file) + ": " + failure.reason + ".",
                 failure.cause);
    }
    os::removeFolder(folders.staging, failure);
    // Empty once nothing is kept: a failed first export leaves no folder behind.
    os::Failure ignored;
    os::removeFolder(folders.outgoing, ignored);
    os::removeFolder(folders.own, ignored);
}

}  // namespace

TableSetFolders::TableSetFolders(const std::filesystem::path& workFolder)
    : work(workFolder),
      own(paths::inFolder(workFolder, "Mirvane")),
      staging(own / "nuevo"),
      earlier(own / "anterior"),
      outgoing(own / "saliente"),
      journal(own / "cambio-en-curso.txt") {}

std::vector<std::string> tableFilesIn(const std::filesystem::path& folder) {
    os::Failure ignored;  // a folder that cannot be listed holds no table
    const std::vector<std::string> listed = os::listFolder(folder, ignored);
    std::vector<std::string> files;
    for (const formats::TableSpec* table : kTables)
        for (std::string_view extension : kExtensions)
            for (const std::string& name : listed)
                if (text::equalsIgnoreCase(name, std::string(table->name) + std::string(extension)))
                    files.push_back(name);
    return files;
}

bool isTableFileName(std::string_view name) {
    return std::any_of(std::begin(kTables), std::end(kTables), [&](const formats::TableSpec* t) {
        return std::any_of(std::begin(kExtensions), std::end(kExtensions), [&](auto extension) {
            return text::equalsIgnoreCase(name, std::string(t->name) + std::string(extension));
        });
    });
}

std::string_view recoveryMessage(Recovery recovery) {
    switch (recovery) {
        case Recovery::Undone:
            return "Un cambio de las tablas de trabajo quedó a medias (Mirvane se cerró antes de "
                   "terminarlo) y se ha deshecho: las tablas son las de antes de ese cambio.";
        case Recovery::Completed:
            return "Un cambio de las tablas de trabajo quedó a medias (Mirvane se cerró antes de "
                   "terminarlo) y se ha terminado: las tablas son las que ese cambio colocaba.";
        case Recovery::None:
            break;
    }
    return {};
}

Recovery recoverInterruptedChange(const std::filesystem::path& work) {
    const TableSetFolders folders(work);
    if (!isFolder(folders.own)) return Recovery::None;
    Recovery outcome = Recovery::None;
    if (paths::kindOf(folders.journal) == os::Kind::Regular) {
        const std::optional<SetChange> change =
            decodeJournal(readWholeFile(folders.journal), folders);
        if (!change)
            fail("El archivo " + paths::toUtf8(folders.journal) +
                 " no es un registro de cambios de Mirvane. Compruebe que las tablas de " +
                 paths::toUtf8(folders.work) + " son las que espera y bórrelo.");
        if (change->placed) {
            finishChange(folders, *change);
            outcome = Recovery::Completed;
        } else {
            undoChange(folders, *change);
            outcome = Recovery::Undone;
        }
    }
    removeStaging(folders);
    return outcome;
}

void checkNoTableHeld(const std::filesystem::path& work) {
    for (const std::string& name : tableFilesIn(work)) {
        const dbf::LockedFile probe(work / name, dbf::LockMode::Exclusive,
                                    "No se puede crear la tabla");
    }
}

StagedTableSet::StagedTableSet(const std::filesystem::path& work) : folders_(work) {
    if (!isFolder(work))
        fail("No se puede crear la tabla " +
             dbf::shown(paths::inFolder(work, std::string(formats::kAsignomt.name) + ".DBF")) +
             ": no existe la carpeta " + dbf::shown(work) + ".");
    removeStaging(folders_);
    paths::createFolders(folders_.staging);
}

StagedTableSet::~StagedTableSet() {
    if (placed_) return;
    try {
        removeStaging(folders_);
    } catch (const Error&) {
        // Left for the next run, which removes it before it begins.
    }
}

void StagedTableSet::putInPlace() {
    placeSet(folders_, folders_.staging);
    placed_ = true;
}

std::vector<std::string> restoreEarlierTables(const std::filesystem::path& work) {
    recoverInterruptedChange(work);
    const TableSetFolders folders(work);
    const std::vector<std::string> kept = tableFilesIn(folders.earlier);
    const auto isTable = [](const std::string& name) {
        return text::equalsIgnoreCase(std::string_view(name).substr(name.size() - 4), ".DBF");
    };
    if (std::none_of(kept.begin(), kept.end(), isTable))
        fail("No hay tablas anteriores que restaurar: la carpeta " + dbf::shown(folders.earlier) +
             " no tiene ninguna. Mirvane guarda allí las tablas que sustituye cada "
             "exportación.");
    placeSet(folders, folders.earlier);
    return kept;
}

}  // namespace mirvane::core
