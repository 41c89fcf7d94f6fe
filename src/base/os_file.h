#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/os_failure.h"

// The operating system's files, behind one interface with a POSIX side
// (posix/file.cpp) and a Windows side (windows/file.cpp). Nothing else in the
// program calls the system's file functions. Nothing here raises: each call
// reports its failure, with the reason in Spanish, for the caller's message.
namespace mirvane::os {

enum class Access { Read, ReadWrite };

// How an open file is held against other openers. Shared keeps out only an
// exclusive holder; Exclusive keeps out everyone, another open file of this
// same process included; Unheld takes no hold at all.
enum class Hold { Unheld, Shared, Exclusive };

// An open file, closed when it goes.
class File {
  public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // An existing file. A hold another opener keeps fails with HeldElsewhere.
    static File open(const std::filesystem::path& file, Access access, Hold hold, Failure& failure);
    // A new, empty file in the folder of `target`, named after it; its path
    // goes to `created`.
    static File createBeside(const std::filesystem::path& target, std::filesystem::path& created,
                             Failure& failure);

    bool isOpen() const;
    // Up to `length` bytes from the current position; 0 at the end.
    std::size_t read(char* buffer, std::size_t length, Failure& failure);
    std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t length, Failure& failure);
    bool write(std::string_view bytes, Failure& failure);
    bool writeAt(std::uint64_t offset, std::string_view bytes, Failure& failure);
    // Waits until what was written is on the disk.
    bool flushToDisk(Failure& failure);
    // The size in bytes; 0 when it cannot be told.
    std::uint64_t size() const;
    bool close(Failure& failure);

  private:
    std::intptr_t handle_ = -1;   // a descriptor, or a HANDLE
    std::filesystem::path path_;  // for the tests' injected faults
};

// What a path names. A path through a regular file names nothing.
enum class Kind { Missing, Regular, Directory, Other };
Kind kindOf(const std::filesystem::path& path, Failure& failure);

// The names in a folder (UTF-8), without "." and "..".
std::vector<std::string> listFolder(const std::filesystem::path& folder, Failure& failure);

// Creates a folder in an existing one; a folder already there is no failure.
bool createFolder(const std::filesystem::path& folder, Failure& failure);

// Removes a file; a missing file is no failure.
bool remove(const std::filesystem::path& file, Failure& failure);

// Removes an empty folder; a missing folder is no failure.
bool removeFolder(const std::filesystem::path& folder, Failure& failure);

// Moves a file to a name in the same volume where there is none, in one
// step, and waits until the move is on the disk. Fails with HeldElsewhere
// while another program has `from` open, and never replaces a file at `to`.
bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to, Failure& failure);

// Waits until the names created, moved and removed in `folder` are on the
// disk (the files' own bytes are flushed through their File).
bool flushFolder(const std::filesystem::path& folder, Failure& failure);

// Puts `replacement` in the place of `target` in one step, so that a reader
// finds either the whole old file or the whole new one. A replaced file's
// permissions pass to the new one.
bool replace(const std::filesystem::path& replacement, const std::filesystem::path& target,
             Failure& failure);
// The same for a file left to the system's cache, without waiting for the
// disk. On Linux the target is removed first, so that for a moment there is
// no file: ext4 writes a file renamed over another out to the disk before
// the rename returns.
bool replaceCached(const std::filesystem::path& replacement, const std::filesystem::path& target,
                   Failure& failure);

// The running program's own file.
std::filesystem::path executableFile();

}  // namespace mirvane::os
