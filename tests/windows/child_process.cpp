#include "child_process.h"

#include <stdexcept>

namespace mirvane::testing {
namespace {

// One argument as the C runtime of the started program splits it back.
std::wstring quoted(const std::wstring& argument) {
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, L'\\');
    return result + L"\"";
}

void makePipe(OwnedHandle& readEnd, OwnedHandle& writeEnd) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inheritable, 0))
        throw std::runtime_error("CreatePipe failed");
    readEnd = OwnedHandle(read);
    writeEnd = OwnedHandle(write);
}

}  // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program,
                           const std::vector<std::wstring>& arguments) {
    OwnedHandle childInput;
    OwnedHandle childOutput;
    makePipe(childInput, input_);
    makePipe(output_, childOutput);
    // Our own ends stay with us.
    ::SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);

    std::wstring commandLine = quoted(program.wstring());
    for (const auto& argument : arguments) commandLine += L" " + quoted(argument);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput.get();
    startup.hStdOutput = childOutput.get();
    startup.hStdError = childOutput.get();
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &started))
        throw std::runtime_error("cannot start " + program.string());
    process_ = OwnedHandle(started.hProcess);
    ::CloseHandle(started.hThread);
}

ChildProcess::~ChildProcess() {
    closeInput();
    if (process_.valid() && ::WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(process_.get(), 1);
}

std::string ChildProcess::readLine() {
    std::string line;
    char c = 0;
    DWORD read = 0;
    while (::ReadFile(output_.get(), &c, 1, &read, nullptr) && read == 1) {
        line += c;
        if (c == '\n') break;
    }
    return line;
}

int ChildProcess::finish(std::string& output) {
    closeInput();
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(output_.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        output.append(buffer, read);
    ::WaitForSingleObject(process_.get(), INFINITE);
    DWORD status = 0;
    ::GetExitCodeProcess(process_.get(), &status);
    return static_cast<int>(status);
}

}  // namespace mirvane::testing
