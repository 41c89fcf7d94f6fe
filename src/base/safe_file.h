#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace mirvane {

// What a commit does before the rename. The program's data (tables, the
// result document, the host's INI file) is flushed to disk, so that a power
// cut leaves the old file or the new one whole. Pages a run writes anew each
// time (its reports) are left to the system's cache, and replace the old page
// without waiting for the disk (see os::replaceCached); a page lost to a
// power cut is given back by the next run.
enum class Durability { Flushed, Cached };

// A file written piece by piece that replaces `target` only on commit(): the
// bytes go to a temporary file in the target's folder, which commit() flushes
// to disk (unless Durability::Cached) and renames over the target. Destroyed without commit(), or
// when any step fails, it removes the temporary file and an earlier target stays as it was. Every
// failure raises mirvane::Error naming the target.
class SafeFileWriter {
  public:
    explicit SafeFileWriter(const std::filesystem::path& target,
                            Durability durability = Durability::Flushed);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

  private:
    class Temporary;
    std::filesystem::path target_;
    Durability durability_;
    std::unique_ptr<Temporary> temporary_;
    std::string pending_;  // written in large pieces
};

// Replaces `target` with `bytes` as one step: the bytes go to a temporary file
// in the target's folder, are flushed to disk, and the temporary file is
// renamed over the target. On any failure the temporary file is removed and an
// earlier target stays as it was. Raises mirvane::Error naming the file.
void saveFileSafely(const std::filesystem::path& target, std::string_view bytes,
                    Durability durability = Durability::Flushed);

// The whole file as bytes; raises mirvane::Error naming the file.
std::string readWholeFile(const std::filesystem::path& file);

}  // namespace mirvane
