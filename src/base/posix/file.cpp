// The POSIX side of the files: descriptors, flock for the holds, rename for
// the replacement. Interrupted calls are retried here and nowhere else; holds
// are not, since flock is only advisory: no scanner or sync agent takes one.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/os_fault.h"
#include "base/os_file.h"

namespace mirvane::os {
namespace {

Failure failureOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {Cause::NotFound, "el archivo no existe"};
        case EACCES:
        case EPERM:
            return {Cause::NoPermission, "no tiene permiso para usar el archivo"};
        case EROFS:
            return {Cause::ReadOnly, "el disco es de solo lectura"};
        case EWOULDBLOCK:
            return {Cause::HeldElsewhere,
                    "está abierto en otro programa; ciérrelo e inténtelo de nuevo"};
        case ENOSPC:
        case EDQUOT:
            return {Cause::Other, "no queda espacio en el disco"};
        case EIO:
            return {Cause::Other, "error de entrada/salida del disco"};
        case ELOOP:
            return {Cause::Other, "hay un ciclo de enlaces simbólicos en la ruta"};
        case ENAMETOOLONG:
            return {Cause::Other, "la ruta es demasiado larga"};
        case EFBIG:
            return {Cause::Other, "el archivo es demasiado grande"};
        case EEXIST:
            return {Cause::Other, "ya hay un archivo con ese nombre"};
        case ENOTEMPTY:
            return {Cause::Other, "la carpeta no está vacía"};
        default:
            return {Cause::Other, std::strerror(error)};
    }
}

bool report(Failure& failure) {
    failure = failureOf(errno);
    return false;
}

// Whether a test asked this call to fail; the failure is then the test's.
bool injected(Call call, const std::filesystem::path& path, Failure& failure) {
    Failure fault = injectedFault(call, path);
    if (!fault) return false;
    failure = std::move(fault);
    return true;
}

// Calls `call` again while a signal interrupts it.
template <typename Call>
auto retried(Call call) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) return result;
    }
}

int descriptorOf(std::intptr_t handle) {
    return static_cast<int>(handle);
}

}  // namespace

File::~File() {
    if (isOpen()) ::close(descriptorOf(handle_));  // closing releases the hold
}

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (isOpen()) ::close(descriptorOf(handle_));
        handle_ = std::exchange(other.handle_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

File File::open(const std::filesystem::path& file, Access access, Hold hold, Failure& failure) {
    File opened;
    if (injected(Call::Open, file, failure)) return opened;
    const int flags = (access == Access::ReadWrite ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    const int descriptor = retried([&] { return ::open(file.c_str(), flags); });
    if (descriptor < 0) {
        report(failure);
        return opened;
    }
    opened.handle_ = descriptor;
    opened.path_ = file;
    if (hold == Hold::Unheld) return opened;
    // The lock belongs to this open file, so two opens in one process
    // exclude each other as two processes do.
    const int operation = (hold == Hold::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    if (retried([&] { return ::flock(descriptor, operation); }) != 0) {
        report(failure);
        return File();
    }
    return opened;
}

File File::createBeside(const std::filesystem::path& target, std::filesystem::path& created,
                        Failure& failure) {
    File opened;
    if (injected(Call::Create, target, failure)) return opened;
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int descriptor = retried([&] { return ::mkostemp(pattern.data(), O_CLOEXEC); });
    if (descriptor < 0) {
        report(failure);
        return opened;
    }
    opened.handle_ = descriptor;
    created = pattern;
    opened.path_ = created;
    return opened;
}

bool File::isOpen() const {
    return handle_ >= 0;
}

std::size_t File::read(char* buffer, std::size_t length, Failure& failure) {
    const ssize_t got = retried([&] { return ::read(descriptorOf(handle_), buffer, length); });
    if (got < 0) return report(failure), 0;
    return static_cast<std::size_t>(got);
}

std::size_t File::readAt(std::uint64_t offset, char* buffer, std::size_t length, Failure& failure) {
    const ssize_t got = retried(
        [&] { return ::pread(descriptorOf(handle_), buffer, length, static_cast<off_t>(offset)); });
    if (got < 0) return report(failure), 0;
    return static_cast<std::size_t>(got);
}

bool File::write(std::string_view bytes, Failure& failure) {
    if (injected(Call::Write, path_, failure)) return false;
    while (!bytes.empty()) {
        const ssize_t written =
            retried([&] { return ::write(descriptorOf(handle_), bytes.data(), bytes.size()); });
        if (written < 0) return report(failure);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool File::writeAt(std::uint64_t offset, std::string_view bytes, Failure& failure) {
    if (injected(Call::Write, path_, failure)) return false;
    while (!bytes.empty()) {
        const ssize_t written = retried([&] {
            return ::pwrite(descriptorOf(handle_), bytes.data(), bytes.size(),
                            static_cast<off_t>(offset));
        });
        if (written < 0) return report(failure);
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

bool File::flushToDisk(Failure& failure) {
    if (injected(Call::Flush, path_, failure)) return false;
    if (retried([&] { return ::fsync(descriptorOf(handle_)); }) != 0) return report(failure);
    return true;
}

std::uint64_t File::size() const {
    struct stat status {};
    if (::fstat(descriptorOf(handle_), &status) != 0 || status.st_size < 0) return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

bool File::close(Failure& failure) {
    if (!isOpen()) return true;
    // Not retried: after EINTR the descriptor is already gone on Linux.
    const int closed = ::close(descriptorOf(std::exchange(handle_, -1)));
    if (closed != 0 && errno != EINTR) return report(failure);
    return true;
}

Kind kindOf(const std::filesystem::path& path, Failure& failure) {
    struct stat status {};
    if (retried([&] { return ::stat(path.c_str(), &status); }) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return Kind::Missing;
        report(failure);
        return Kind::Missing;
    }
    if (S_ISREG(status.st_mode)) return Kind::Regular;
    if (S_ISDIR(status.st_mode)) return Kind::Directory;
    return Kind::Other;
}

std::vector<std::string> listFolder(const std::filesystem::path& folder, Failure& failure) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) return report(failure), names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(directory);
        if (!entry) {
            if (errno != 0) report(failure);
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(directory);
    return names;
}

bool createFolder(const std::filesystem::path& folder, Failure& failure) {
    if (injected(Call::CreateFolder, folder, failure)) return false;
    if (retried([&] { return ::mkdir(folder.c_str(), 0777); }) == 0) return true;
    if (errno == EEXIST) {
        struct stat status {};
        if (::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return true;
        errno = EEXIST;
    }
    return report(failure);
}

bool remove(const std::filesystem::path& file, Failure& failure) {
    if (injected(Call::Remove, file, failure)) return false;
    if (retried([&] { return ::unlink(file.c_str()); }) != 0 && errno != ENOENT)
        return report(failure);
    return true;
}

bool removeFolder(const std::filesystem::path& folder, Failure& failure) {
    if (injected(Call::RemoveFolder, folder, failure)) return false;
    if (retried([&] { return ::rmdir(folder.c_str()); }) != 0 && errno != ENOENT)
        return report(failure);
    return true;
}

bool flushFolder(const std::filesystem::path& folder, Failure& failure) {
    if (injected(Call::Flush, folder, failure)) return false;
    const int descriptor =
        retried([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (descriptor < 0) return report(failure);
    const bool flushed = retried([&] { return ::fsync(descriptor); }) == 0;
    if (!flushed) report(failure);
    ::close(descriptor);
    return flushed;
}

bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to,
              Failure& failure) {
    if (injected(Call::Move, from, failure)) return false;
    // Holds are flock's, which a rename does not see: the file is held
    // exclusively while it moves, which fails while another program holds it.
    const File held = File::open(from, Access::Read, Hold::Exclusive, failure);
    if (!held.isOpen()) return false;
    int moved = retried([&] {
        return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    });
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system that cannot refuse to replace: looked at first.
        struct stat existing {};
        if (::lstat(to.c_str(), &existing) == 0) {
            errno = EEXIST;
        } else {
            moved = retried([&] { return ::rename(from.c_str(), to.c_str()); });
        }
    }
    if (moved != 0) return report(failure);
    return flushFolder(to.parent_path(), failure) &&
           (to.parent_path() == from.parent_path() || flushFolder(from.parent_path(), failure));
}

namespace {

// A replaced file's permissions, which pass to its replacement.
mode_t modeToKeep(const std::filesystem::path& target) {
    struct stat existing {};
    return ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
}

bool moveInto(const std::filesystem::path& replacement, const std::filesystem::path& target,
              mode_t mode, Failure& failure) {
    if (retried([&] { return ::chmod(replacement.c_str(), mode); }) != 0) return report(failure);
    if (retried([&] { return ::rename(replacement.c_str(), target.c_str()); }) != 0)
        return report(failure);
    return true;
}

}  // namespace

bool replace(const std::filesystem::path& replacement, const std::filesystem::path& target,
             Failure& failure) {
    if (injected(Call::Move, target, failure)) return false;
    return moveInto(replacement, target, modeToKeep(target), failure);
}

bool replaceCached(const std::filesystem::path& replacement, const std::filesystem::path& target,
                   Failure& failure) {
    if (injected(Call::Move, target, failure)) return false;
    const mode_t mode = modeToKeep(target);
    Failure ignored;  // a target that cannot be removed fails the rename
    remove(target, ignored);
    return moveInto(replacement, target, mode, failure);
}

std::filesystem::path executableFile() {
    std::string buffer(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return {};
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

}  // namespace mirvane::os
