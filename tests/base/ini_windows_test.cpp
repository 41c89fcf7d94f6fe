// What Windows' own profile functions read back from a file our writer
// edited: the host reads its result code with them. Runs in the Windows suite.
#include <gtest/gtest.h>

#ifdef _WIN32

#include <windows.h>

#include <string>

#include "base/ini.h"
#include "support/testing.h"

namespace mirvane::ini {
namespace {

UINT readBack(const std::filesystem::path& file, const wchar_t* key = L"Transformado") {
    return GetPrivateProfileIntW(L"Transformadores", key, 99, file.wstring().c_str());
}

std::wstring readText(const std::filesystem::path& file, const wchar_t* section,
                      const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section, key, L"", buffer, 256, file.wstring().c_str());
    return buffer;
}

std::string utf16LittleEndian(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

struct HostFile {
    const char* name;
    std::string contents;  // before the first write; empty for a missing file
};

class ReadByWindows : public ::testing::TestWithParam<HostFile> {};

TEST_P(ReadByWindows, EveryValueWrittenIsReadBack) {
    testing::TempDir dir;
    const auto file = dir / "Tablexa.ini";
    if (!GetParam().contents.empty()) testing::writeFile(file, GetParam().contents);
    for (const std::int32_t code : {0, 1, -1, 1}) {
        writeInteger(file, "Transformadores", "Transformado", code);
        EXPECT_EQ(static_cast<int>(readBack(file)), code);
    }
    EXPECT_EQ(readBack(file, L"Otro"), GetParam().contents.empty() ? 99u : 7u);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, ReadByWindows,
    ::testing::Values(
        HostFile{"Missing", ""},
        HostFile{"SingleByte", "[General]\r\nRuta=C:\\KTEMP\r\n[transformadores]\r\nOtro=7\r\n"},
        HostFile{"UnixLineBreaks", "[Transformadores]\nOtro=7\n"},
        HostFile{"Utf16WithMark",
                 utf16LittleEndian(u"[Centro]\r\nNombre=\u0141\u00F3d\u017A\r\n"
                                   u"[Transformadores]\r\nOtro=7\r\nTransformado=3\r\n")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadByWindowsUtf16, TheHostsOtherTextsStayReadable) {
    testing::TempDir dir;
    const auto file = dir / "Tablexa.ini";
    testing::writeFile(file, utf16LittleEndian(u"[Centro]\r\nNombre=\u0141\u00F3d\u017A\r\n"));
    writeInteger(file, "Transformadores", "Transformado", -1);
    EXPECT_EQ(static_cast<int>(readBack(file)), -1);
    EXPECT_EQ(readText(file, L"Centro", L"Nombre"), L"\u0141\u00F3d\u017A");
    EXPECT_TRUE(testing::readFile(file).starts_with("\xFF\xFE"));
}

}  // namespace
}  // namespace mirvane::ini

#else

TEST(IniReadByWindows, RunsInTheWindowsSuite) {
    GTEST_SKIP() << "needs Windows' own profile functions";
}

#endif
