#pragma once

#include <cstddef>
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

// The one set of decoders and encoders every conversion of the program is
// made of, one character at a time.
inline constexpr char32_t kMalformed = 0xFFFFFFFF;
inline constexpr char32_t kReplacement = 0xFFFD;  // what a malformed sequence becomes in Unicode
struct Decoded {
    char32_t codePoint;  // kMalformed for a sequence that is not a character
    std::size_t length;  // the units it takes; 0 when the text ends inside it
};
// The character at the start of `utf8`: a stray or missing continuation
// byte, an overlong form, a surrogate or a code beyond U+10FFFF is malformed
// (length 1); a sequence cut short by the end of the text has length 0.
Decoded decodeUtf8(std::string_view utf8);
// The character at the start of `utf16`: a pair of surrogates is one
// character; a lone surrogate is malformed (length 1).
Decoded decodeUtf16(std::u16string_view utf16);
// Writes `codePoint` (a character, not kMalformed) as 1 to 4 bytes into
// `out`; returns how many.
std::size_t encodeUtf8(char32_t codePoint, char out[4]);
void appendUtf8(std::string& out, char32_t codePoint);
void appendUtf16(std::u16string& out, char32_t codePoint);

// UTF-8 and UTF-16 both ways; a malformed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);
// Windows-1252 to UTF-16: every character of the code page is one unit.
std::u16string toUtf16(std::string_view cp1252);
// UTF-8 as it is where it is well-formed, each byte of a malformed sequence
// (and a NUL) replaced by '?': a text from outside, made safe to show.
std::string validUtf8(std::string_view text);

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

// The conversion error for a text (Windows-1252), as toInt raises it, and its message.
[[noreturn]] void failNotInteger(std::string_view value);
std::string notIntegerMessage(std::string_view value);

}  // namespace mirvane::text
