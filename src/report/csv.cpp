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

// Sixteen bytes as one value, compared all at once (SSE2 on x86-64).
using Bytes16 = unsigned char __attribute__((vector_size(16)));

Bytes16 load16(const char* from) {
    Bytes16 bytes;
    std::memcpy(&bytes, from, sizeof bytes);
    return bytes;
}

}  // namespace

bool arePlainFields(std::string_view written, std::size_t count) {
    // A row's keys are some fifty bytes: they are looked at sixteen at a time.
    // Each lane of `separators` counts the ';' found in it: at most one a
    // block, and nine fields of at most 254 bytes are far fewer than 256 blocks.
    Bytes16 separators{};
    Bytes16 bad{};
    const auto look = [&](Bytes16 bytes) {
        separators -= reinterpret_cast<Bytes16>(bytes == ';');
        bad |= reinterpret_cast<Bytes16>(bytes > 0x7F || bytes == '"' || bytes == '\r' ||
                                         bytes == '\n');
    };
    const std::size_t size = written.size();
    if (size < sizeof(Bytes16)) {
        char padded[sizeof(Bytes16)] = {};  // zero bytes are plain
        std::memcpy(padded, written.data(), size);
        look(load16(padded));
    } else {
        std::size_t at = 0;
        for (; at + sizeof(Bytes16) <= size; at += sizeof(Bytes16)) look(load16(&written[at]));
        if (at < size) {
            // The last sixteen bytes, without those already looked at.
            constexpr Bytes16 kLane = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
            const auto seen = static_cast<unsigned char>(at + sizeof(Bytes16) - size);
            look(load16(&written[size - sizeof(Bytes16)]) &
                 reinterpret_cast<Bytes16>(kLane >= seen));
        }
    }
    std::uint64_t halves[2], bads[2];
    std::memcpy(halves, &separators, sizeof halves);
    std::memcpy(bads, &bad, sizeof bads);
    // The sixteen counts summed: in pairs first, each pair's sum in 16 bits.
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    const auto pairs = [](std::uint64_t x) { return (x & kEvenBytes) + ((x >> 8) & kEvenBytes); };
    const std::uint64_t found = ((pairs(halves[0]) + pairs(halves[1])) * 0x0001000100010001) >> 48;
    return (bads[0] | bads[1]) == 0 && found == count;
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
