#include "report/csv.h"

#include <algorithm>
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

// Sixteen bytes as one value, compared all at once (SSE2 on x86-64).
using Bytes16 = unsigned char __attribute__((vector_size(16)));

Bytes16 load16(const char* from) {
    Bytes16 bytes;
    std::memcpy(&bytes, from, sizeof bytes);
    return bytes;
}

}  // namespace

bool isPlainField(std::string_view cp1252) {
    return !looksLikeFormula(cp1252) && arePlainFields(cp1252, 0);
}

namespace {

// What one stretch of a row holds: its ';' and whether any byte is not plain.
struct Scan {
    std::size_t separators = 0;
    bool bad = false;
};

// A lane of the count sees at most one byte a block: 255 blocks at most.
constexpr std::size_t kMostScannedAtOnce = 255 * sizeof(Bytes16);

Scan scan(std::string_view bytes) {
    Bytes16 separators{};  // each lane counts the ';' found in it
    Bytes16 bad{};
    const auto look = [&](Bytes16 sixteen) {
        separators -= reinterpret_cast<Bytes16>(sixteen == ';');
        bad |= reinterpret_cast<Bytes16>(sixteen > 0x7F || sixteen == '"' || sixteen == '\r' ||
                                         sixteen == '\n');
    };
    const std::size_t size = bytes.size();
    if (size < sizeof(Bytes16)) {
        char padded[sizeof(Bytes16)] = {};  // zero bytes are plain
        std::memcpy(padded, bytes.data(), size);
        look(load16(padded));
    } else {
        std::size_t at = 0;
        for (; at + sizeof(Bytes16) <= size; at += sizeof(Bytes16)) look(load16(&bytes[at]));
        if (at < size) {
            // The last sixteen bytes, without those already looked at.
            constexpr Bytes16 kLane = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
            const auto seen = static_cast<unsigned char>(at + sizeof(Bytes16) - size);
            look(load16(&bytes[size - sizeof(Bytes16)]) & reinterpret_cast<Bytes16>(kLane >= seen));
        }
    }
    std::uint64_t halves[2], bads[2];
    std::memcpy(halves, &separators, sizeof halves);
    std::memcpy(bads, &bad, sizeof bads);
    // The sixteen counts summed: in pairs first, each pair's sum in 16 bits.
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
    const auto pairs = [](std::uint64_t x) { return (x & kEvenBytes) + ((x >> 8) & kEvenBytes); };
    const std::uint64_t count = ((pairs(halves[0]) + pairs(halves[1])) * 0x0001000100010001) >> 48;
    return {static_cast<std::size_t>(count), (bads[0] | bads[1]) != 0};
}

}  // namespace

bool arePlainFields(std::string_view written, std::size_t count) {
    // A row's keys are some fifty bytes: one stretch, sixteen bytes at a time.
    std::size_t separators = 0;
    do {
        const Scan stretch = scan(written.substr(0, kMostScannedAtOnce));
        if (stretch.bad) return false;
        separators += stretch.separators;
        written.remove_prefix(std::min(written.size(), kMostScannedAtOnce));
    } while (!written.empty());
    return separators == count;
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
