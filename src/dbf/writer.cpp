#include "dbf/writer.h"

#include <ctime>
#include <limits>

#include "base/error.h"
#include "base/os_clock.h"
#include "dbf/messages.h"

namespace mirvane::dbf {
namespace {

// Large enough that a whole work table takes few system calls, small enough
// that a process killed in the middle loses little.
constexpr std::size_t kBatchBytes = 64 * 1024;

}  // namespace

std::string todayAndCount(std::uint32_t count) {
    const std::time_t now = std::time(nullptr);
    const std::tm local = os::localTime(now);
    return encodeDateAndCount(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, count);
}

RecordAppender::RecordAppender(const LockedFile& file, const Layout& layout,
                               std::uint32_t storedCount)
    : file_(file),
      headerLength_(layout.headerLength),
      recordLength_(layout.recordLength),
      written_(storedCount) {
    // A batch at its largest, end marker included, so that the buffer is
    // never copied while it grows.
    buffer_.reserve(kBatchBytes + recordLength_);
}

void RecordAppender::add(std::string_view record) {
    if (written_ + buffered_ == std::numeric_limits<std::uint32_t>::max())
        fail("No se puede escribir en la tabla " + shown(file_.path()) +
             ": ha alcanzado el máximo de registros.");
    buffer_.append(record);
    ++buffered_;
    if (buffer_.size() >= kBatchBytes) flush();
}

void RecordAppender::flush() {
    if (buffer_.empty()) return;
    const std::uint64_t end = headerLength_ + std::uint64_t{written_} * recordLength_;
    buffer_ += kEndOfFile;
    try {
        file_.writeAt(end, buffer_);
    } catch (...) {
        buffer_.pop_back();  // the batch stays gathered; the header still counts the old records
        throw;
    }
    // Only now that the records are whole may the header count them.
    file_.writeAt(kDateOffset, todayAndCount(written_ + buffered_));
    written_ += buffered_;
    buffered_ = 0;
    buffer_.clear();
    wroteAny_ = true;
}

}  // namespace mirvane::dbf
