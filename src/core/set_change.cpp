#include "core/set_change.h"

#include <algorithm>

#include "base/error.h"
#include "base/os_file.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"
#include "dbf/lock.h"
#include "dbf/messages.h"

namespace mirvane::core {
namespace {

constexpr std::string_view kJournalTitle = "Mirvane: cambio de las tablas de trabajo";
constexpr std::string_view kSourceKey = "origen=";
constexpr std::string_view kStateKey = "estado=";
constexpr std::string_view kInWorkKey = "trabajo=";
constexpr std::string_view kInSourceKey = "nuevo=";
constexpr std::string_view kMoving = "moviendo";
constexpr std::string_view kPlaced = "colocado";

// The entry of `names` that is `name` in any letter case; none when absent.
const std::string* find(const std::vector<std::string>& names, std::string_view name) {
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
        return text::equalsIgnoreCase(n, name);
    });
    return found == names.end() ? nullptr : &*found;
}

bool contains(const std::vector<std::string>& names, std::string_view name) {
    return find(names, name) != nullptr;
}

bool isFile(const std::filesystem::path& file) {
    os::Failure ignored;
    return os::kindOf(file, ignored) == os::Kind::Regular;
}

void move(const std::filesystem::path& from, const std::filesystem::path& to) {
    os::Failure failure;
    if (os::moveFile(from, to, failure)) return;
    if (failure.cause == os::Cause::HeldElsewhere)
        fail(dbf::heldElsewhere(from, "No se puede sustituir la tabla"), failure.cause);
    fail("No se puede mover " + dbf::shown(from) + " a " + dbf::shown(to.parent_path()) + ": " +
             failure.reason + ".",
         failure.cause);
}

void removeFile(const std::filesystem::path& file) {
    os::Failure failure;
    if (!os::remove(file, failure))
        fail("No se puede borrar " + dbf::shown(file) + ": " + failure.reason + ".", failure.cause);
}

void flush(const std::filesystem::path& folder) {
    os::Failure failure;
    if (!os::flushFolder(folder, failure))
        fail("No se puede escribir en la carpeta " + paths::toUtf8(folder) + ": " + failure.reason +
                 ".",
             failure.cause);
}

void writeJournal(const TableSetFolders& folders, const SetChange& change) {
    saveFileSafely(folders.journal, encodeJournal(change, folders));
    flush(folders.own);
}

// The replaced set's files moved aside, and the new set's moved in, table
// by table.
void moveFiles(const TableSetFolders& folders, const SetChange& change) {
    for (const std::string& name : change.inWork)
        move(folders.work / name, folders.outgoing / name);
    for (const std::string& name : change.inSource) move(change.source / name, folders.work / name);
}

// Every file the replaced set had must be free to move: a table the
// timetabler holds stops the change before anything moves.
void checkFree(const TableSetFolders& folders, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const dbf::LockedFile probe(folders.work / name, dbf::LockMode::Exclusive,
                                    "No se puede sustituir la tabla");
    }
}

}  // namespace

std::string encodeJournal(const SetChange& change, const TableSetFolders& folders) {
    std::string text(kJournalTitle);
    text += "\n";
    text +=
        std::string(kSourceKey) + (change.source == folders.earlier ? "anterior" : "nuevo") + "\n";
    text += std::string(kStateKey) + std::string(change.placed ? kPlaced : kMoving) + "\n";
    for (const std::string& name : change.inWork) text += std::string(kInWorkKey) + name + "\n";
    for (const std::string& name : change.inSource) text += std::string(kInSourceKey) + name + "\n";
    return text;
}

std::optional<SetChange> decodeJournal(std::string_view text, const TableSetFolders& folders) {
    SetChange change;
    bool titled = false, sourced = false, stated = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut short: not ours
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const auto value = [&](std::string_view key) { return line.substr(key.size()); };
        if (!titled) {
            if (line != kJournalTitle) return std::nullopt;
            titled = true;
        } else if (line.starts_with(kSourceKey)) {
            if (value(kSourceKey) == "anterior")
                change.source = folders.earlier;
            else if (value(kSourceKey) == "nuevo")
                change.source = folders.staging;
            else
                return std::nullopt;
            sourced = true;
        } else if (line.starts_with(kStateKey)) {
            if (value(kStateKey) != kMoving && value(kStateKey) != kPlaced) return std::nullopt;
            change.placed = value(kStateKey) == kPlaced;
            stated = true;
        } else if (line.starts_with(kInWorkKey)) {
            change.inWork.emplace_back(value(kInWorkKey));
        } else if (line.starts_with(kInSourceKey)) {
            change.inSource.emplace_back(value(kInSourceKey));
        } else {
            return std::nullopt;
        }
    }
    // Only names of table files, and no path: a journal cannot move anything else.
    for (const auto* list : {&change.inWork, &change.inSource})
        for (const std::string& name : *list)
            if (!isTableFileName(name)) return std::nullopt;
    if (!sourced || !stated) return std::nullopt;
    return change;
}

void placeSet(const TableSetFolders& folders, const std::filesystem::path& source) {
    SetChange change{source, tableFilesIn(folders.work), tableFilesIn(source), false};
    checkFree(folders, change.inWork);
    paths::createFolders(folders.outgoing);
    writeJournal(folders, change);
    try {
        moveFiles(folders, change);
        change.placed = true;
        writeJournal(folders, change);
    } catch (...) {
        // Whatever moved goes back; should that fail too, the journal stays
        // and the next run finishes the undoing. A journal that may already
        // say the change is placed is set back first, or the next run would
        // finish a change half-undone; if even that fails, the next run does
        // what the journal says, which is whole either way.
        try {
            if (change.placed) {
                change.placed = false;
                writeJournal(folders, change);
            }
            undoChange(folders, change);
        } catch (...) {
        }
        throw;
    }
    // The new set is in place, and the run has done what it was asked. Should
    // keeping the set it replaced fail now, the journal says so and the next
    // run finishes it: failing here would tell the user nothing changed.
    try {
        finishChange(folders, change);
    } catch (const Error&) {
    }
}

void undoChange(const TableSetFolders& folders, const SetChange& change) {
    // A new file in the work folder goes back first, so that the file it
    // replaced finds its name free. The work folder's file of a name is new
    // only once the file it had of that name is aside: the source may have
    // lost its copy to a run that stopped while undoing, and the user's own
    // table must not go in its place.
    paths::createFolders(change.source);
    for (const std::string& name : change.inSource) {
        const std::string* replaced = find(change.inWork, name);
        const bool arrived =
            replaced ? isFile(folders.outgoing / *replaced) : !isFile(change.source / name);
        if (arrived && isFile(folders.work / name)) move(folders.work / name, change.source / name);
    }
    for (const std::string& name : change.inWork)
        if (isFile(folders.outgoing / name)) move(folders.outgoing / name, folders.work / name);
    os::Failure ignored;
    os::removeFolder(folders.outgoing, ignored);
    removeFile(folders.journal);
}

void finishChange(const TableSetFolders& folders, const SetChange& change) {
    paths::createFolders(folders.earlier);
    // What the earlier folder holds of the generation before goes; what it
    // already holds of the replaced set (moved there by a finish cut short)
    // stays.
    for (const std::string& name : tableFilesIn(folders.earlier))
        if (isFile(folders.outgoing / name) || !contains(change.inWork, name))
            removeFile(folders.earlier / name);
    for (const std::string& name : tableFilesIn(folders.outgoing))
        move(folders.outgoing / name, folders.earlier / name);
    os::Failure ignored;
    os::removeFolder(folders.outgoing, ignored);
    if (change.source == folders.staging) os::removeFolder(folders.staging, ignored);
    removeFile(folders.journal);
}

}  // namespace mirvane::core
