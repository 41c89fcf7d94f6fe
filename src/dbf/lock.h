#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/os_file.h"

// An open table file and its lock. Exclusive use keeps every other holder
// out; shared use only keeps out an exclusive holder. The lock belongs to
// this open file, so two components of one process exclude each other as
// two processes do. Closed, and the lock released, on every path.
namespace mirvane::dbf {

enum class LockMode { Shared, Exclusive };

class LockedFile {
  public:
    // Opens an existing file for reading and, where permitted, writing. Fails
    // with the engine's message when the file is missing or held by another
    // program. `action` begins the message: "No se puede abrir la tabla".
    LockedFile(const std::filesystem::path& file, LockMode mode, std::string_view action);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    bool writable() const { return writable_; }

    std::string readAll() const;
    // Exactly `length` bytes from `offset`; a file that ends before is damaged.
    std::string readAt(std::uint64_t offset, std::size_t length) const;
    void writeAt(std::uint64_t offset, std::string_view bytes) const;
    void sync() const;

  private:
    std::filesystem::path path_;
    mutable os::File file_;
    bool writable_ = false;
};

// The message for a table another program holds: `action` and what to do.
std::string heldElsewhere(const std::filesystem::path& file, std::string_view action);

}  // namespace mirvane::dbf
