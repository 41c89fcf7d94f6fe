#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace mirvane {

// A file written piece by piece that replaces `target` only on commit(): the
// bytes go to a temporary file in the target's folder, which commit() flushes
// to disk and renames over the target. Destroyed without commit(), or when
// any step fails, it removes the temporary file and an earlier target stays
// as it was. Every failure raises mirvane::Error naming the target.
class SafeFileWriter {
  public:
    explicit SafeFileWriter(const std::filesystem::path& target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    void write(std::string_view bytes);
    void commit();

  private:
    class Temporary;
    std::filesystem::path target_;
    std::unique_ptr<Temporary> temporary_;
    std::string pending_;  // written in large pieces
};

// Replaces `target` with `bytes` as one step: the bytes go to a temporary file
// in the target's folder, are flushed to disk, and the temporary file is
// renamed over the target. On any failure the temporary file is removed and an
// earlier target stays as it was. Raises mirvane::Error naming the file.
void saveFileSafely(const std::filesystem::path& target, std::string_view bytes);

// The whole file as bytes; raises mirvane::Error naming the file.
std::string readWholeFile(const std::filesystem::path& file);

}  // namespace mirvane
