#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/table_set.h"

// One change of the work folder's set of tables, with its journal: the set
// in a source folder (the new tables of an export, or the earlier set) goes
// into the work folder, and the set there goes to the outgoing folder, then
// becomes the earlier set. Known from the journal alone, a change cut short
// at any point is undone while its files are moving, and finished once they
// have all moved.
namespace mirvane::core {

struct SetChange {
    std::filesystem::path source;       // the folder the new set comes from
    std::vector<std::string> inWork;    // the table files the work folder had
    std::vector<std::string> inSource;  // the table files the source had
    bool placed = false;                // every file has moved: finish, never undo
};

// The journal's text, and back; nothing from a text that is no journal.
std::string encodeJournal(const SetChange& change, const TableSetFolders& folders);
std::optional<SetChange> decodeJournal(std::string_view text, const TableSetFolders& folders);

// The whole change, from the journal to the earlier set kept. When a file
// cannot move, those already moved go back before the error goes on.
void placeSet(const TableSetFolders& folders, const std::filesystem::path& source);

// The two ways out of a journal left behind.
void undoChange(const TableSetFolders& folders, const SetChange& change);
void finishChange(const TableSetFolders& folders, const SetChange& change);

}  // namespace mirvane::core
