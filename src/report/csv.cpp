#include "report/csv.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "base/text.h"

namespace mirvane::report::csv {

void appendField(std::string& out, std::string_view field) {
    const bool formula = looksLikeFormula(field);
    if (!formula && field.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    if (formula) out += '\'';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

namespace {

constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 0x80; ++c) plain[c] = c != ';' && c != '"' && c != '\r' && c != '\n';
    return plain;
}();

}  // namespace

bool isPlainField(std::string_view cp1252) {
    bool plain = !looksLikeFormula(cp1252);
    for (char c : cp1252) plain &= kPlain[static_cast<unsigned char>(c)];
    return plain;
}

namespace {

constexpr std::uint64_t kEachByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;
constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7F;

// The high bit of each byte of `word` that equals `byte`, and no other bit.
std::uint64_t bytesEqual(std::uint64_t word, char byte) {
    const std::uint64_t v = word ^ (kEachByte * static_cast<unsigned char>(byte));
    return ~(((v & kLowBits) + kLowBits) | v | kLowBits);
}

}  // namespace

bool arePlainFields(std::string_view written, std::size_t count) {
    // Eight bytes at a time: a row's keys are some fifty bytes.
    std::uint64_t separators = 0;
    std::uint64_t bad = 0;
    const auto look = [&](std::uint64_t word) {
        // The bytes found, summed in the top byte: at most eight a word.
        separators += ((bytesEqual(word, ';') >> 7) * kEachByte) >> 56;
        bad |= (word & kHighBits) | bytesEqual(word, '"') | bytesEqual(word, '\r') |
               bytesEqual(word, '\n');
    };
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= written.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, written.data() + at, sizeof word);
        look(word);
    }
    std::uint64_t last = 0;  // zero bytes past the end are plain
    for (std::size_t i = 0; at + i < written.size(); ++i)
        last |= std::uint64_t{static_cast<unsigned char>(written[at + i])} << (8 * i);
    look(last);
    return bad == 0 && separators == count;
}

void appendWindows1252Field(std::string& out, std::string_view cp1252) {
    if (isPlainField(cp1252))
        out.append(cp1252);
    else
        appendField(out, text::toUtf8(cp1252));
}

std::string field(std::string_view utf8) {
    std::string out;
    appendField(out, utf8);
    return out;
}

void appendRow(std::string& out, std::initializer_list<std::string_view> fieldsUtf8) {
    bool first = true;
    for (std::string_view field : fieldsUtf8) {
        if (!first) out += ';';
        first = false;
        appendField(out, field);
    }
    out += "\r\n";
}

}  // namespace mirvane::report::csv
