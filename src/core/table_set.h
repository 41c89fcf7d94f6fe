#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The six work tables of a folder, changed as one set. An export writes its
// tables aside, in a folder of Mirvane's inside the work folder, and puts
// all six in place together; the set it replaces is kept there, one
// generation, and can be put back. Each change is written down before its
// first file moves, so that a change cut short (the program killed, the
// power gone) is finished or undone by the next run, as a database does
// with its journal: the timetabler never finds a set made of two runs.
namespace mirvane::core {

// Mirvane's folders inside the work folder. The timetabler reads only the
// tables it names in the work folder itself.
struct TableSetFolders {
    explicit TableSetFolders(const std::filesystem::path& work);

    std::filesystem::path work;      // C:\KTEMP
    std::filesystem::path own;       // C:\KTEMP\Mirvane
    std::filesystem::path staging;   // the new tables while an export writes them
    std::filesystem::path earlier;   // the set the last change replaced
    std::filesystem::path outgoing;  // the replaced set while the change moves it
    std::filesystem::path journal;   // the change under way
};

// What a run found of a change that an earlier run left half-done.
enum class Recovery {
    None,       // nothing was left
    Undone,     // the change was undone: the tables are those from before it
    Completed,  // the change was finished: the tables are those it put in place
};

// What to tell the user of a recovery; empty for Recovery::None.
std::string_view recoveryMessage(Recovery recovery);

// Finishes or undoes a change cut short, and removes what an export stopped
// before its change left of its own. Every run calls it before it reads or
// writes a table. A change that cannot be finished now (a table held by the
// timetabler) raises, and is tried again by the next run.
Recovery recoverInterruptedChange(const std::filesystem::path& work);

// Raises the message for a held table when another program holds one of the
// work tables (the timetabler, which must be closed first).
void checkNoTableHeld(const std::filesystem::path& work);

// The new tables of an export, written aside and put in place together.
class StagedTableSet {
  public:
    // An empty staging folder. The work folder must exist: it is never created.
    explicit StagedTableSet(const std::filesystem::path& work);
    // Not put in place: the staging folder goes, with every file in it.
    ~StagedTableSet();
    StagedTableSet(const StagedTableSet&) = delete;
    StagedTableSet& operator=(const StagedTableSet&) = delete;

    // Where the writers write.
    const std::filesystem::path& folder() const { return folders_.staging; }

    // Puts the six tables in the work folder in place of those there, all of
    // them or none: when one cannot be replaced, those already moved go back
    // and the error says which one was held. The replaced set is kept in the
    // earlier folder, in place of the one kept there before.
    void putInPlace();

  private:
    TableSetFolders folders_;
    bool placed_ = false;
};

// The tables of the earlier set, put back in the work folder in place of
// those there, all or none, once a change cut short is finished or undone; the set they replace is
// kept in their place, so that a second restore undoes the first. Raises when no earlier set is
// kept. Returns the names of the files put back.
std::vector<std::string> restoreEarlierTables(const std::filesystem::path& work);

// The names of the table files (.DBF and their .MDX) in `folder`, as the
// folder spells them, in the order the tables are written.
std::vector<std::string> tableFilesIn(const std::filesystem::path& folder);

// Whether `name` is one of those files' names, in any letter case.
bool isTableFileName(std::string_view name);

}  // namespace mirvane::core
