#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Text of tables written in other code pages. The language-driver byte of a
// table's header names its code page; the program works in Windows-1252, so
// text from any other code page is converted on reading. Characters that
// Windows-1252 lacks become '?'.
namespace mirvane::dbf {

// The code page a language-driver byte names, by its Windows number; 0 for
// Windows-1252 and for bytes no table of drivers lists.
unsigned codePageOf(std::uint8_t languageDriver);

class CodePage {
  public:
    explicit CodePage(std::uint8_t languageDriver = 0x57);

    bool isWindows1252() const { return kind_ == Kind::Identity; }
    // `bytes` in the table's code page, as Windows-1252.
    std::string toWindows1252(std::string_view bytes) const;

  private:
    enum class Kind { Identity, SingleByte, MultiByte };
    Kind kind_ = Kind::Identity;
    unsigned codePage_ = 0;          // for multi-byte code pages
    std::array<char, 256> table_{};  // byte-for-byte translation of single-byte code pages
};

}  // namespace mirvane::dbf
