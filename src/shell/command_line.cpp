#include "shell/command_line.h"

#include "base/error.h"
#include "base/text.h"

namespace mirvane::shell {
namespace {

// Only ASCII letters change: the words compared with are plain ASCII, and a
// parameter is UTF-8, whose other bytes must not be touched.
std::string asciiLowerCase(std::string_view word) {
    std::string lower(word);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

CommandLine::CommandLine(std::vector<std::string> parameters)
    : parameters_(std::move(parameters)) {}

ModeWord CommandLine::modeWord() const {
    if (!fromHost()) return ModeWord::None;
    const std::string word = asciiLowerCase(parameters_[0]);
    if (word == "importar") return ModeWord::Importar;
    if (word == "exportar") return ModeWord::Exportar;
    return ModeWord::None;
}

std::uintptr_t CommandLine::hostHandle() const {
    // The conversion and its message work on Windows-1252 text.
    std::string converted = "$";
    converted += text::fromUtf8(parameters_.at(1));
    const std::int32_t value = text::toInt(converted, text::Digits::DecimalOrHex);
    // Window handles are 32-bit values, also for a 64-bit program.
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uintptr_t> CommandLine::hostWindow() const {
    if (!fromHost()) return std::nullopt;
    try {
        return hostHandle();
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace mirvane::shell
