#pragma once

#include <filesystem>
#include <string>

#include "support/programs.h"

// The generated schools the import's benchmarks run on, made once: for
// "school" and "stress", the exchange document, and a work folder holding
// what the export writes and a solution for it.
namespace mirvane::bench {

class ImportSchools {
  public:
    static ImportSchools& get();

    std::filesystem::path document(const std::string& size) const {
        return scratch_.path() / (size + ".xml");
    }
    std::filesystem::path workFolder(const std::string& size) const {
        return scratch_.path() / ("KTEMP-" + size);
    }
    const std::filesystem::path& scratch() const { return scratch_.path(); }
    // The stress school's tables with a solution that names groups, rooms
    // and slots they lack: tens of thousands of warnings from a few causes.
    std::filesystem::path mismatchedFolder() const { return scratch_.path() / "KTEMP-desajustado"; }

  private:
    ImportSchools();
    ScratchFolder scratch_;
};

}  // namespace mirvane::bench
