#include "dbf/lock.h"

#include "base/error.h"
#include "dbf/messages.h"

namespace mirvane::dbf {

std::string heldElsewhere(const std::filesystem::path& file, std::string_view action) {
    return std::string(action) + " " + shown(file) +
           ": está abierta en otro programa. Cierre Tablexa e inténtelo de nuevo.";
}

LockedFile::LockedFile(const std::filesystem::path& file, LockMode mode, std::string_view action)
    : path_(file) {
    const os::Hold hold = mode == LockMode::Exclusive ? os::Hold::Exclusive : os::Hold::Shared;
    os::Failure failure;
    file_ = os::File::open(file, os::Access::ReadWrite, hold, failure);
    writable_ = file_.isOpen();
    if (failure.cause == os::Cause::NoPermission || failure.cause == os::Cause::ReadOnly) {
        failure = {};
        file_ = os::File::open(file, os::Access::Read, hold, failure);
    }
    switch (failure.cause) {
        case os::Cause::None:
            return;
        case os::Cause::NotFound:
            fail("No existe la tabla " + shown(file) + ".");
        case os::Cause::HeldElsewhere:
            fail(heldElsewhere(file, action));
        default:
            fail(std::string(action) + " " + shown(file) + ": " + failure.reason + ".");
    }
}

LockedFile::~LockedFile() = default;  // closing the file releases its hold

std::string LockedFile::readAll() const {
    std::string bytes;
    bytes.reserve(file_.size());
    os::Failure failure;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = file_.readAt(bytes.size(), buffer, sizeof buffer, failure);
        if (failure)
            fail("No se puede leer la tabla " + shown(path_) + ": " + failure.reason + ".");
        if (got == 0) return bytes;
        bytes.append(buffer, got);
    }
}

std::string LockedFile::readAt(std::uint64_t offset, std::size_t length) const {
    std::string bytes(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        os::Failure failure;
        const std::size_t got =
            file_.readAt(offset + done, bytes.data() + done, length - done, failure);
        if (failure)
            fail("No se puede leer la tabla " + shown(path_) + ": " + failure.reason + ".");
        if (got == 0) failDamaged(path_, "el archivo acaba antes que sus registros");
        done += got;
    }
    return bytes;
}

void LockedFile::writeAt(std::uint64_t offset, std::string_view bytes) const {
    os::Failure failure;
    if (!file_.writeAt(offset, bytes, failure))
        fail("No se puede escribir en la tabla " + shown(path_) + ": " + failure.reason + ".");
}

void LockedFile::sync() const {
    os::Failure failure;
    if (!file_.flushToDisk(failure))
        fail("No se puede escribir en la tabla " + shown(path_) + ": " + failure.reason + ".");
}

}  // namespace mirvane::dbf
