// The Windows side of the files: wide-character paths, the share mode of
// CreateFileW for the holds (Tablexa opens its tables the same way, so each
// sees the other's), MoveFileExW for the replacement. Opening, replacing and
// deleting are tried again while they meet a hold that passes by itself, here
// and nowhere else.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <utility>

#include "base/os_fault.h"
#include "base/os_file.h"
#include "base/transient_retry.h"
#include "base/windows/wide.h"

namespace mirvane::os {
namespace {

// The system's own text for an error, in the language of the system.
std::string systemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.' ||
                             text.back() == L' '))
        text.pop_back();
    if (text.empty()) return "error del sistema " + std::to_string(error);
    return narrow(text);
}

Failure failureOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {Cause::NotFound, "el archivo no existe"};
        case ERROR_ACCESS_DENIED:
            return {Cause::NoPermission, "no tiene permiso para usar el archivo"};
        case ERROR_WRITE_PROTECT:
            return {Cause::ReadOnly, "el disco es de solo lectura"};
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {Cause::HeldElsewhere,
                    "está abierto en otro programa; ciérrelo e inténtelo de nuevo"};
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return {Cause::Other, "no queda espacio en el disco"};
        case ERROR_FILENAME_EXCED_RANGE:
            return {Cause::Other, "la ruta es demasiado larga"};
        default:
            return {Cause::Other, systemText(error)};
    }
}

bool report(Failure& failure) {
    failure = failureOf(GetLastError());
    return false;
}

// Whether a test asked this call to fail; the failure is then the test's.
bool injected(Call call, const std::filesystem::path& path, Failure& failure) {
    Failure fault = injectedFault(call, path);
    if (!fault) return false;
    failure = std::move(fault);
    return true;
}

// Whether a refusal of `file` may pass by itself: a regular file without the
// read-only attribute, or no file yet. A read-only file and a folder refuse
// for good, and waiting would only delay the message.
bool mayBeHeld(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    return !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

// The errors of a call that meets another program's hold on `file`. Access
// denied is also what a file gives while a scanner has it open, or while it
// is being deleted with a handle still open on it.
bool transient(DWORD error, const std::filesystem::path& file) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return true;
        case ERROR_ACCESS_DENIED:
            return mayBeHeld(file);
        default:
            return false;
    }
}

// Makes `call`, which returns whether the system call in it succeeded, again
// while it fails on a hold of `file` that may pass. The system's error of the
// last call, ERROR_SUCCESS when it succeeded.
template <typename Call>
DWORD retried(const std::filesystem::path& file, Call call) {
    DWORD error = ERROR_SUCCESS;
    retryTransient(
        [&] {
            const bool succeeded = call();
            error = succeeded ? ERROR_SUCCESS : GetLastError();
            return succeeded;
        },
        [&] { return transient(error, file); },
        [](std::chrono::milliseconds wait) { Sleep(static_cast<DWORD>(wait.count())); });
    return error;
}

// Access denied to the replacement or the deletion of `file`, after the
// retries: a permission refusal when the file is read-only or its permissions
// deny us its deletion; otherwise another program has it open. (Windows
// refuses to replace a file that is open elsewhere even when its holder
// shares deletion, so a probe that gets in still means a hold.)
Failure refusalOf(const std::filesystem::path& file) {
    if (!mayBeHeld(file)) return failureOf(ERROR_ACCESS_DENIED);
    const HANDLE probe =
        CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return failureOf(ERROR_SHARING_VIOLATION);
    }
    const DWORD error = GetLastError();
    return failureOf(error == ERROR_SHARING_VIOLATION ? error : ERROR_ACCESS_DENIED);
}

// The failure of a replacement or a deletion of `file`, from its last error.
Failure failureOf(DWORD error, const std::filesystem::path& file) {
    return error == ERROR_ACCESS_DENIED ? refusalOf(file) : failureOf(error);
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t stored(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle);
}

// ReadFile and WriteFile take at most a DWORD at a time.
constexpr std::size_t kLargestPiece = 1u << 30;

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return position;
}

}  // namespace

File::~File() {
    if (isOpen()) CloseHandle(handleOf(handle_));  // closing releases the hold
}

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (isOpen()) CloseHandle(handleOf(handle_));
        handle_ = std::exchange(other.handle_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

File File::open(const std::filesystem::path& file, Access access, Hold hold, Failure& failure) {
    const DWORD wanted = GENERIC_READ | (access == Access::ReadWrite ? GENERIC_WRITE : 0);
    DWORD sharing = 0;  // Exclusive: no other open at all, in any process
    if (hold == Hold::Shared) sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (hold == Hold::Unheld) sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    File opened;
    if (injected(Call::Open, file, failure)) return opened;
    const DWORD error = retried(file, [&] {
        opened.handle_ = stored(CreateFileW(file.c_str(), wanted, sharing, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        return opened.isOpen();
    });
    if (error != ERROR_SUCCESS) failure = failureOf(error);
    if (opened.isOpen()) opened.path_ = file;
    return opened;
}

// Not retried: a name that never existed is held by nobody, and access denied
// there is the folder's own refusal.
File File::createBeside(const std::filesystem::path& target, std::filesystem::path& created,
                        Failure& failure) {
    static std::atomic<unsigned> counter{0};
    File opened;
    if (injected(Call::Create, target, failure)) return opened;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring suffix = L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(GetTickCount()) + L"-" +
                                    std::to_wstring(counter++);
        const std::filesystem::path candidate =
            target.parent_path() / (L"." + target.filename().wstring() + suffix);
        opened.handle_ = stored(CreateFileW(candidate.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (opened.isOpen()) {
            created = candidate;
            opened.path_ = candidate;
            return opened;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    report(failure);
    return opened;
}

bool File::isOpen() const {
    return handle_ != -1;
}

std::size_t File::read(char* buffer, std::size_t length, Failure& failure) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(length < kLargestPiece ? length : kLargestPiece);
    if (!ReadFile(handleOf(handle_), buffer, wanted, &got, nullptr)) {
        if (GetLastError() == ERROR_HANDLE_EOF || GetLastError() == ERROR_BROKEN_PIPE) return 0;
        return report(failure), 0;
    }
    return got;
}

std::size_t File::readAt(std::uint64_t offset, char* buffer, std::size_t length, Failure& failure) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(length < kLargestPiece ? length : kLargestPiece);
    OVERLAPPED position = at(offset);
    if (!ReadFile(handleOf(handle_), buffer, wanted, &got, &position)) {
        if (GetLastError() == ERROR_HANDLE_EOF) return 0;
        return report(failure), 0;
    }
    return got;
}

bool File::write(std::string_view bytes, Failure& failure) {
    if (injected(Call::Write, path_, failure)) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD piece =
            static_cast<DWORD>(bytes.size() < kLargestPiece ? bytes.size() : kLargestPiece);
        if (!WriteFile(handleOf(handle_), bytes.data(), piece, &written, nullptr))
            return report(failure);
        bytes.remove_prefix(written);
    }
    return true;
}

bool File::writeAt(std::uint64_t offset, std::string_view bytes, Failure& failure) {
    if (injected(Call::Write, path_, failure)) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD piece =
            static_cast<DWORD>(bytes.size() < kLargestPiece ? bytes.size() : kLargestPiece);
        OVERLAPPED position = at(offset);
        if (!WriteFile(handleOf(handle_), bytes.data(), piece, &written, &position))
            return report(failure);
        bytes.remove_prefix(written);
        offset += written;
    }
    return true;
}

bool File::flushToDisk(Failure& failure) {
    if (injected(Call::Flush, path_, failure)) return false;
    if (!FlushFileBuffers(handleOf(handle_))) return report(failure);
    return true;
}

std::uint64_t File::size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(handle_), &size) || size.QuadPart < 0) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool File::close(Failure& failure) {
    if (!isOpen()) return true;
    if (!CloseHandle(handleOf(std::exchange(handle_, -1)))) return report(failure);
    return true;
}

Kind kindOf(const std::filesystem::path& path, Failure& failure) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH || error == ERROR_DIRECTORY)
            return Kind::Missing;
        report(failure);
        return Kind::Missing;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Kind::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return Kind::Other;
    return Kind::Regular;
}

std::vector<std::string> listFolder(const std::filesystem::path& folder, Failure& failure) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) report(failure);
        return names;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(narrow(name));
    } while (FindNextFileW(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) report(failure);
    FindClose(search);
    return names;
}

bool createFolder(const std::filesystem::path& folder, Failure& failure) {
    if (injected(Call::CreateFolder, folder, failure)) return false;
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        SetLastError(ERROR_ALREADY_EXISTS);
    }
    return report(failure);
}

bool remove(const std::filesystem::path& file, Failure& failure) {
    if (injected(Call::Remove, file, failure)) return false;
    const DWORD error = retried(
        file, [&] { return DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
    if (error == ERROR_SUCCESS) return true;
    failure = failureOf(error, file);
    return false;
}

bool removeFolder(const std::filesystem::path& folder, Failure& failure) {
    if (injected(Call::RemoveFolder, folder, failure)) return false;
    const DWORD error = retried(folder, [&] {
        return RemoveDirectoryW(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
               GetLastError() == ERROR_PATH_NOT_FOUND;
    });
    if (error == ERROR_SUCCESS) return true;
    failure = failureOf(error);
    return false;
}

// Each move is written through to the disk (MOVEFILE_WRITE_THROUGH).
bool flushFolder(const std::filesystem::path& folder, Failure& failure) {
    return !injected(Call::Flush, folder, failure);
}

bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to,
              Failure& failure) {
    if (injected(Call::Move, from, failure)) return false;
    const DWORD error = retried(from, [&] {
        // A holder that shares deletion would let the file move from under
        // it: an open that shares nothing is refused while anyone holds it.
        const HANDLE probe = CreateFileW(from.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return false;
        CloseHandle(probe);
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (error == ERROR_SUCCESS) return true;
    failure = failureOf(error, from);
    return false;
}

namespace {

bool moveOver(const std::filesystem::path& replacement, const std::filesystem::path& target,
              DWORD flags, Failure& failure) {
    const DWORD error = retried(target, [&] {
        return MoveFileExW(replacement.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | flags) != 0;
    });
    if (error == ERROR_SUCCESS) return true;
    failure = failureOf(error, target);
    return false;
}

}  // namespace

bool replace(const std::filesystem::path& replacement, const std::filesystem::path& target,
             Failure& failure) {
    if (injected(Call::Move, target, failure)) return false;
    return moveOver(replacement, target, MOVEFILE_WRITE_THROUGH, failure);
}

bool replaceCached(const std::filesystem::path& replacement, const std::filesystem::path& target,
                   Failure& failure) {
    if (injected(Call::Move, target, failure)) return false;
    return moveOver(replacement, target, 0, failure);
}

namespace {

// The long form of every name in `path` (a program may be started by its
// short 8.3 path), or `path` itself when the system cannot tell it.
std::wstring longForm(const std::wstring& path) {
    const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::wstring buffer(size, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), size);
    if (length == 0 || length >= size) return path;
    buffer.resize(length);
    return buffer;
}

}  // namespace

// In its long form, as the system's own folders are named, so that it can be
// told whether the program lies inside one of them.
std::filesystem::path executableFile() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return longForm(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace mirvane::os
