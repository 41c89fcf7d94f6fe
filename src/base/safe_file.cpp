#include "base/safe_file.h"

#include <string>

#include "base/error.h"
#include "base/os_file.h"
#include "base/paths.h"

namespace mirvane {
namespace {

constexpr std::size_t kWritePiece = 1 << 16;

std::string shown(const std::filesystem::path& file) {
    return paths::toUtf8(file);
}

}  // namespace

// Owns a temporary file until it is put in the target's place.
class SafeFileWriter::Temporary {
  public:
    explicit Temporary(const std::filesystem::path& target) {
        os::Failure failure;
        file_ = os::File::createBeside(target, path_, failure);
        if (failure)
            fail("No se puede escribir en la carpeta de " + shown(target) + ": " + failure.reason,
                 failure.cause);
    }
    ~Temporary() {
        if (committed_) return;
        os::Failure ignored;
        file_.close(ignored);  // Windows removes no file that is open
        os::remove(path_, ignored);
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    void write(std::string_view bytes, const std::filesystem::path& target) {
        os::Failure failure;
        if (!file_.write(bytes, failure))
            fail("No se puede escribir " + shown(target) + ": " + failure.reason, failure.cause);
    }

    void commit(const std::filesystem::path& target, Durability durability) {
        os::Failure failure;
        if ((durability == Durability::Flushed && !file_.flushToDisk(failure)) ||
            !file_.close(failure))
            fail("No se puede escribir " + shown(target) + ": " + failure.reason, failure.cause);
        const bool replaced = durability == Durability::Flushed
                                  ? os::replace(path_, target, failure)
                                  : os::replaceCached(path_, target, failure);
        if (!replaced)
            fail("No se puede reemplazar " + shown(target) + ": " + failure.reason, failure.cause);
        committed_ = true;
    }

  private:
    std::filesystem::path path_;
    os::File file_;
    bool committed_ = false;
};

SafeFileWriter::SafeFileWriter(const std::filesystem::path& target, Durability durability)
    : target_(target), durability_(durability), temporary_(std::make_unique<Temporary>(target)) {}

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
    temporary_->commit(target_, durability_);
}

void saveFileSafely(const std::filesystem::path& target, std::string_view bytes,
                    Durability durability) {
    SafeFileWriter file(target, durability);
    file.write(bytes);
    file.commit();
}

std::string readWholeFile(const std::filesystem::path& file) {
    os::Failure failure;
    os::File input = os::File::open(file, os::Access::Read, os::Hold::Unheld, failure);
    if (failure) fail("No se puede leer " + shown(file) + ": " + failure.reason, failure.cause);
    // Sized from the file once, so a large document is not copied while it grows.
    std::string bytes;
    bytes.reserve(input.size());
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = input.read(buffer, sizeof buffer, failure);
        if (failure) fail("No se puede leer " + shown(file) + ": " + failure.reason, failure.cause);
        if (got == 0) return bytes;
        bytes.append(buffer, got);
    }
}

}  // namespace mirvane
