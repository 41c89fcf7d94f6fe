#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The program's text model: every field value is a byte string in
// Windows-1252, as stored in the tables. Conversion happens only at the XML
// boundary (libxml2 speaks UTF-8) and in the window.
namespace mirvane::text {

// UTF-8 to Windows-1252; a character the code page lacks becomes '?', and so
// does every byte of a malformed sequence.
std::string fromUtf8(std::string_view utf8);

// Windows-1252 to UTF-8. The five codes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same number.
std::string toUtf8(std::string_view cp1252);

// One character: the Unicode code point of a Windows-1252 byte, and the byte
// of a code point (nothing when the code page lacks it).
char32_t codePointOf(char byte);
std::optional<char> byteOf(char32_t codePoint);

// Drops the characters with codes 32 and below at both ends.
std::string_view trim(std::string_view value);

// Blank: nothing is left once trimmed.
bool isBlank(std::string_view value);

// Windows-1252 letter case: ASCII letters and the accented letters of the code page.
char toUpper(char c);
char toLower(char c);
std::string toLower(std::string_view value);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Which digits the whole-number conversion reads. Numbers in documents and
// tables are decimal only; the "$" hexadecimal form is for the host window
// handle on the command line, whose caller asks for it.
enum class Digits { Decimal, DecimalOrHex };

// The whole-number conversion: leading spaces, an optional sign, decimal
// digits, within the signed 32-bit range. With Digits::DecimalOrHex, "$"
// before the digits reads them as hexadecimal (either case), up to 32 bits.
// Anything else raises "'%s' is not a valid integer value".
std::int32_t toInt(std::string_view value, Digits digits = Digits::Decimal);

// The same conversion without the error: false where toInt would fail.
bool tryToInt(std::string_view value, std::int32_t& result, Digits digits = Digits::Decimal);

// Appends `value` with &, <, > and " written as the entities that XML and
// HTML both read, for text and attribute values alike.
void appendEscapedMarkup(std::string& out, std::string_view value);

// The conversion error for a text (Windows-1252), as toInt raises it.
[[noreturn]] void failNotInteger(std::string_view value);

}  // namespace mirvane::text
