#include "base/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/error.h"

namespace mirvane {
namespace {

std::string systemReason() {
    return std::strerror(errno);
}

constexpr std::size_t kWritePiece = 1 << 16;

}  // namespace

// Owns a temporary file until it is renamed into place.
class SafeFileWriter::Temporary {
  public:
    explicit Temporary(const std::filesystem::path& target) {
        path_ = target.parent_path() / ("." + target.filename().string() + ".XXXXXX");
        std::string pattern = path_.string();
        descriptor_ = ::mkstemp(pattern.data());
        if (descriptor_ < 0)
            fail("No se puede escribir en la carpeta de " + target.string() + ": " +
                 systemReason());
        path_ = pattern;
    }
    ~Temporary() {
        if (descriptor_ >= 0) ::close(descriptor_);
        if (!committed_) ::unlink(path_.c_str());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    void write(std::string_view bytes, const std::filesystem::path& target) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                fail("No se puede escribir " + target.string() + ": " + systemReason());
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void commit(const std::filesystem::path& target) {
        if (::fsync(descriptor_) != 0)
            fail("No se puede escribir " + target.string() + ": " + systemReason());
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0)
            ::fchmod(descriptor_, existing.st_mode);  // a replaced file keeps its mode
        else
            ::fchmod(descriptor_, 0644);
        if (::close(descriptor_) != 0) {
            descriptor_ = -1;
            fail("No se puede escribir " + target.string() + ": " + systemReason());
        }
        descriptor_ = -1;
        if (::rename(path_.c_str(), target.c_str()) != 0)
            fail("No se puede reemplazar " + target.string() + ": " + systemReason());
        committed_ = true;
    }

  private:
    std::filesystem::path path_;
    int descriptor_ = -1;
    bool committed_ = false;
};

SafeFileWriter::SafeFileWriter(const std::filesystem::path& target)
    : target_(target), temporary_(std::make_unique<Temporary>(target)) {}

SafeFileWriter::~SafeFileWriter() = default;

void SafeFileWriter::write(std::string_view bytes) {
    if (pending_.size() + bytes.size() < kWritePiece) {
        pending_.append(bytes);
        return;
    }
    temporary_->write(pending_, target_);
    pending_.clear();
    if (bytes.size() < kWritePiece)
        pending_.append(bytes);
    else
        temporary_->write(bytes, target_);
}

void SafeFileWriter::commit() {
    temporary_->write(pending_, target_);
    pending_.clear();
    temporary_->commit(target_);
}

void saveFileSafely(const std::filesystem::path& target, std::string_view bytes) {
    SafeFileWriter file(target);
    file.write(bytes);
    file.commit();
}

std::string readWholeFile(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) fail("No se puede leer " + file.string() + ": " + systemReason());
    // Sized from the file once, so a large document is not copied while it grows.
    std::string bytes;
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && status.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            const std::string reason = systemReason();
            ::close(descriptor);
            fail("No se puede leer " + file.string() + ": " + reason);
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    return bytes;
}

}  // namespace mirvane
