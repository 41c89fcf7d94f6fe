#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the process's parameters ask for. Exactly two parameters mean the host
// timetabler started the program: a mode word and the host's window handle in
// hexadecimal. Any other number means a person did, and the parameters are
// ignored.
namespace mirvane::shell {

// The run a mode word starts; any other word starts none.
enum class ModeWord { None, Importar, Exportar };

struct CommandLine {
    // The process's parameters after the program's own path (argv[1] on), UTF-8.
    explicit CommandLine(std::vector<std::string> parameters);

    // Exactly two parameters.
    bool fromHost() const { return parameters_.size() == 2; }

    // Parameter 1 lower-cased, then compared exactly: no blanks are trimmed.
    // None when the program was not started by the host.
    ModeWord modeWord() const;

    // Parameter 2 read as "$" followed by it: hexadecimal digits of either
    // case, up to 32 bits. Raises "'$XYZ' is not a valid integer value" for a
    // text that is not such a number. Only when fromHost().
    std::uintptr_t hostHandle() const;

    // The host's window, for what must be settled before the window exists:
    // the handle when the program was started by the host and it converts;
    // nothing otherwise (FormCreate reports a handle that does not).
    std::optional<std::uintptr_t> hostWindow() const;

  private:
    std::vector<std::string> parameters_;
};

}  // namespace mirvane::shell
