#include "report/csv.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "base/text.h"

namespace mirvane::report::csv {
namespace {

// Whether a spreadsheet would take the field for a formula.
bool looksLikeFormula(std::string_view field) {
    if (field.empty()) return false;
    switch (field.front()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return true;
        default:
            return false;
    }
}

// The bytes that keep a Windows-1252 text from going as it stands: those
// quoted, and those above ASCII, which are converted.
constexpr std::array<bool, 256> kNotPlain = [] {
    std::array<bool, 256> table{};
    for (std::size_t c = 0x80; c < table.size(); ++c) table[c] = true;
    for (unsigned char c : {';', '"', '\r', '\n'}) table[c] = true;
    return table;
}();

std::size_t countNotPlain(std::string_view cp1252) {
    return static_cast<std::size_t>(std::count_if(cp1252.begin(), cp1252.end(), [](char c) {
        return kNotPlain[static_cast<unsigned char>(c)];
    }));
}

// Whether a Windows-1252 text is a field as it stands: ASCII, nothing to
// quote, no formula. Most codes are.
bool isPlainField(std::string_view cp1252) {
    return !looksLikeFormula(cp1252) && countNotPlain(cp1252) == 0;
}

}  // namespace

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

void appendWindows1252Field(std::string& out, std::string_view cp1252) {
    if (isPlainField(cp1252))
        out.append(cp1252);
    else
        appendField(out, text::toUtf8(cp1252));
}

void appendWindows1252Fields(std::string& out, std::initializer_list<std::string_view> cp1252) {
    const std::size_t start = out.size();
    bool formula = false;
    for (std::string_view field : cp1252) {
        out += ';';
        out += field;
        formula |= looksLikeFormula(field);
    }
    // Plain when the separators just written are the only bytes to care for.
    if (!formula && countNotPlain(std::string_view(out).substr(start)) == cp1252.size()) return;
    out.resize(start);
    for (std::string_view field : cp1252) {
        out += ';';
        appendWindows1252Field(out, field);
    }
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
