#include "dbf/lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/error.h"
#include "dbf/messages.h"

namespace mirvane::dbf {

std::string heldElsewhere(const std::filesystem::path& file, std::string_view action) {
    return std::string(action) + " " + shown(file) +
           ": está abierta en otro programa. Cierre Tablexa e inténtelo de nuevo.";
}

LockedFile::LockedFile(const std::filesystem::path& file, LockMode mode, std::string_view action)
    : path_(file) {
    descriptor_ = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    writable_ = descriptor_ >= 0;
    if (descriptor_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        descriptor_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        if (errno == ENOENT) fail("No existe la tabla " + shown(file) + ".");
        fail(std::string(action) + " " + shown(file) + ": " + systemReason() + ".");
    }
    const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int locked;
    do {
        locked = ::flock(descriptor_, operation);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool held = errno == EWOULDBLOCK;
        const std::string reason = systemReason();
        ::close(descriptor_);
        descriptor_ = -1;
        if (held) fail(heldElsewhere(file, action));
        fail(std::string(action) + " " + shown(file) + ": " + reason + ".");
    }
}

LockedFile::~LockedFile() {
    if (descriptor_ >= 0) ::close(descriptor_);  // closing the file releases its lock
}

std::string LockedFile::readAll() const {
    std::string bytes;
    struct stat status {};
    if (::fstat(descriptor_, &status) == 0 && status.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::uint64_t offset = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::pread(descriptor_, buffer, sizeof buffer, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR) continue;
            fail("No se puede leer la tabla " + shown(path_) + ": " + systemReason() + ".");
        }
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
    }
}

void LockedFile::writeAt(std::uint64_t offset, std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(descriptor_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) continue;
            fail("No se puede escribir en la tabla " + shown(path_) + ": " + systemReason() + ".");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
}

void LockedFile::sync() const {
    if (::fsync(descriptor_) != 0)
        fail("No se puede escribir en la tabla " + shown(path_) + ": " + systemReason() + ".");
}

}  // namespace mirvane::dbf
