#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <optional>

#include "base/error.h"

namespace mirvane::shell {
namespace {

struct Parameters {
    const char* name;
    std::vector<std::string> parameters;
    bool fromHost;
    ModeWord modeWord;
    std::uintptr_t handle = 0;  // when the handle converts
    std::optional<std::string> handleError = std::nullopt;
};

class CommandLineTest : public ::testing::TestWithParam<Parameters> {};

TEST_P(CommandLineTest, ReadsModeAndHandle) {
    const Parameters& expected = GetParam();
    const CommandLine commandLine(expected.parameters);
    EXPECT_EQ(commandLine.fromHost(), expected.fromHost);
    EXPECT_EQ(commandLine.modeWord(), expected.modeWord);
    const bool converts = expected.fromHost && !expected.handleError;
    EXPECT_EQ(commandLine.hostWindow(), converts ? std::optional(expected.handle) : std::nullopt);
    if (!expected.fromHost) return;
    if (expected.handleError) {
        try {
            commandLine.hostHandle();
            ADD_FAILURE() << "the handle converted";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), *expected.handleError);
        }
    } else {
        EXPECT_EQ(commandLine.hostHandle(), expected.handle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shell, CommandLineTest,
    ::testing::Values(
        Parameters{"None", {}, false, ModeWord::None},
        Parameters{"One", {"exportar"}, false, ModeWord::None},
        Parameters{"Three", {"exportar", "1A2B", "x"}, false, ModeWord::None},
        Parameters{"UpperCaseWord", {"EXPORTAR", "1A2B"}, true, ModeWord::Exportar, 0x1A2B},
        Parameters{
            "MixedCaseWordLowerCaseDigits", {"ImPortar", "1a2b"}, true, ModeWord::Importar, 0x1A2B},
        Parameters{"OtherWord", {"sincronizar", "1A2B"}, true, ModeWord::None, 0x1A2B},
        Parameters{"WordNotTrimmed", {"exportar ", "1A2B"}, true, ModeWord::None, 0x1A2B},
        Parameters{"AccentedWordUntouched", {"EXPORTÁR", "1A2B"}, true, ModeWord::None, 0x1A2B},
        Parameters{
            "AllThirtyTwoBits", {"exportar", "FFFFFFFF"}, true, ModeWord::Exportar, 0xFFFFFFFF},
        Parameters{"NotHexadecimal",
                   {"exportar", "XYZ"},
                   true,
                   ModeWord::Exportar,
                   0,
                   "'$XYZ' is not a valid integer value"},
        Parameters{"Empty",
                   {"exportar", ""},
                   true,
                   ModeWord::Exportar,
                   0,
                   "'$' is not a valid integer value"},
        Parameters{"MoreThanThirtyTwoBits",
                   {"exportar", "100000000"},
                   true,
                   ModeWord::Exportar,
                   0,
                   "'$100000000' is not a valid integer value"},
        Parameters{"OwnPrefix",
                   {"exportar", "$1A2B"},
                   true,
                   ModeWord::Exportar,
                   0,
                   "'$$1A2B' is not a valid integer value"},
        Parameters{"AccentedTextInTheMessage",
                   {"exportar", "1Añ"},
                   true,
                   ModeWord::Exportar,
                   0,
                   "'$1Añ' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mirvane::shell
