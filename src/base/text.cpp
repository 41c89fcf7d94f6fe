#include "base/text.h"

#include <array>
#include <limits>

#include "base/error.h"

namespace mirvane::text {
namespace {

// Unicode code points of Windows-1252 bytes 0x80 to 0x9F.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

char byteFor(char32_t cp) {
    return byteOf(cp).value_or('?');
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool isSurrogate(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

}  // namespace

char32_t codePointOf(char byte) {
    return codePoint(static_cast<unsigned char>(byte));
}

std::optional<char> byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

Decoded decodeUtf8(std::string_view utf8) {
    const auto lead = static_cast<unsigned char>(utf8[0]);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4) return {kMalformed, 1};
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if (k == utf8.size()) return {kMalformed, 0};
        const auto next = static_cast<unsigned char>(utf8[k]);
        if (!isContinuation(next)) return {kMalformed, 1};
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || isSurrogate(cp)) return {kMalformed, 1};
    return {cp, length};
}

Decoded decodeUtf16(std::u16string_view utf16) {
    const char16_t first = utf16[0];
    if (!isSurrogate(first)) return {first, 1};
    if (first >= 0xDC00) return {kMalformed, 1};
    if (utf16.size() == 1) return {kMalformed, 0};
    const char16_t second = utf16[1];
    if (second < 0xDC00 || second > 0xDFFF) return {kMalformed, 1};
    return {0x10000 + ((char32_t{first} - 0xD800) << 10) + (second - 0xDC00), 2};
}

std::size_t encodeUtf8(char32_t cp, char out[4]) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, encodeUtf8(cp, bytes));
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
        return;
    }
    out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
}

namespace {

// Calls `each` with every character of `text` (kMalformed for each unit of
// a malformed or cut-short sequence) and the units it takes.
template <typename Char, typename Decode, typename Each>
void forEachCharacter(std::basic_string_view<Char> text, Decode decode, Each each) {
    for (std::size_t i = 0; i < text.size();) {
        Decoded decoded = decode(text.substr(i));
        if (decoded.length == 0) decoded = {kMalformed, 1};
        each(decoded, text.substr(i, decoded.length));
        i += decoded.length;
    }
}

// One Unicode encoding to another, a malformed sequence becoming U+FFFD.
template <typename Out, typename In, typename Decode, typename Append>
Out transcoded(std::basic_string_view<In> text, Decode decode, Append append) {
    Out out;
    out.reserve(text.size());
    forEachCharacter(text, decode, [&](Decoded c, std::basic_string_view<In>) {
        append(out, c.codePoint == kMalformed ? kReplacement : c.codePoint);
    });
    return out;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view utf8) {
    return transcoded<std::u16string>(utf8, decodeUtf8, appendUtf16);
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    return transcoded<std::string>(utf16, decodeUtf16, appendUtf8);
}

std::u16string toUtf16(std::string_view cp1252) {
    std::u16string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) out += static_cast<char16_t>(codePointOf(c));
    return out;
}

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachCharacter(text, decodeUtf8, [&](Decoded c, std::string_view bytes) {
        if (c.codePoint == kMalformed || c.codePoint == 0)
            out += '?';
        else
            out.append(bytes);
    });
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t ascii = i;  // the usual case: a run of ASCII, copied at once
        while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) ++ascii;
        if (ascii > i) {
            out.append(utf8.data() + i, ascii - i);
            i = ascii;
            continue;
        }
        Decoded decoded = decodeUtf8(utf8.substr(i));
        if (decoded.length == 0) decoded = {kMalformed, 1};
        out += decoded.codePoint == kMalformed ? '?' : byteFor(decoded.codePoint);
        i += decoded.length;
    }
    return out;
}

std::string toUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (char c : cp1252) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            appendUtf8(out, codePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view trim(std::string_view value) {
    std::size_t begin = 0;
    std::size_t end = value.size();
    while (begin < end && static_cast<unsigned char>(value[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(value[end - 1]) <= 32) --end;
    return value.substr(begin, end - begin);
}

bool isBlank(std::string_view value) {
    return trim(value).empty();
}

char toUpper(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
    // à..þ except ÷ map to À..Þ except ×; š œ ž ÿ to Š Œ Ž Ÿ.
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
    switch (b) {
        case 0x9A:
            return static_cast<char>(0x8A);
        case 0x9C:
            return static_cast<char>(0x8C);
        case 0x9E:
            return static_cast<char>(0x8E);
        case 0xFF:
            return static_cast<char>(0x9F);
        default:
            return c;
    }
}

char toLower(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
    switch (b) {
        case 0x8A:
            return static_cast<char>(0x9A);
        case 0x8C:
            return static_cast<char>(0x9C);
        case 0x8E:
            return static_cast<char>(0x9E);
        case 0x9F:
            return static_cast<char>(0xFF);
        default:
            return c;
    }
}

std::string toLower(std::string_view value) {
    std::string out(value);
    for (char& c : out) c = toLower(c);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;  // the usual case: names asked as they are stored
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toUpper(a[i]) != toUpper(b[i])) return false;
    return true;
}

bool tryToInt(std::string_view value, std::int32_t& result, Digits digits) {
    std::size_t i = 0;
    while (i < value.size() && value[i] == ' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    const bool hex = digits == Digits::DecimalOrHex && i < value.size() && value[i] == '$';
    if (hex) ++i;
    if (i == value.size()) return false;

    const std::uint64_t limit =
        hex ? 0xFFFFFFFFull
            : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + negative;
    std::uint64_t magnitude = 0;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
        magnitude = magnitude * (hex ? 16 : 10) + digit;
        if (magnitude > limit) return false;
    }
    // A hexadecimal value fills 32 bits: $FFFFFFFF is -1.
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = ~bits + 1u;
    result = static_cast<std::int32_t>(bits);
    return true;
}

void appendEscapedMarkup(std::string& out, std::string_view value) {
    // Pages of many megabytes go through here: plain runs are copied whole.
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string_view entity;
        switch (value[i]) {
            case '&':
                entity = "&amp;";
                break;
            case '<':
                entity = "&lt;";
                break;
            case '>':
                entity = "&gt;";
                break;
            case '"':
                entity = "&quot;";
                break;
            default:
                continue;
        }
        out.append(value, start, i - start);
        out += entity;
        start = i + 1;
    }
    out.append(value, start);
}

std::string notIntegerMessage(std::string_view value) {
    return "'" + toUtf8(value) + "' is not a valid integer value";
}

void failNotInteger(std::string_view value) {
    fail(notIntegerMessage(value));
}

std::int32_t toInt(std::string_view value, Digits digits) {
    std::int32_t result = 0;
    if (!tryToInt(value, result, digits)) failNotInteger(value);
    return result;
}

}  // namespace mirvane::text
