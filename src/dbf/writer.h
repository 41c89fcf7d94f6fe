#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dbf/header.h"
#include "dbf/lock.h"

// Appending records to an open table file. Records are gathered in memory
// and written in batches; each batch is written in full, end marker
// included, before the header's count grows to cover it, so the file on disk
// is a valid table at every moment and holds every batch written so far.
namespace mirvane::dbf {

class RecordAppender {
  public:
    // `storedCount`: the records the file holds now; new ones follow them.
    RecordAppender(const LockedFile& file, const Layout& layout, std::uint32_t storedCount);

    void add(std::string_view record);
    // Writes the gathered records, then the count and today's date.
    void flush();
    bool pending() const { return !buffer_.empty(); }
    bool wroteAny() const { return wroteAny_; }

  private:
    const LockedFile& file_;
    std::uint32_t headerLength_;
    std::uint32_t recordLength_;
    std::uint32_t written_;  // records the header counts
    std::uint32_t buffered_ = 0;
    std::string buffer_;
    bool wroteAny_ = false;
};

// Today's date in the header's three bytes and the record count.
std::string todayAndCount(std::uint32_t count);

}  // namespace mirvane::dbf
