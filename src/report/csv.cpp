#include "report/csv.h"

#include <array>

#include "base/text.h"

namespace mirvane::report::csv {

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

bool isPlainField(std::string_view cp1252) {
    static constexpr auto kPlain = [] {
        std::array<bool, 256> plain{};
        for (int c = 0; c < 0x80; ++c) plain[c] = c != ';' && c != '"' && c != '\r' && c != '\n';
        return plain;
    }();
    bool plain = !looksLikeFormula(cp1252);
    for (char c : cp1252) plain &= kPlain[static_cast<unsigned char>(c)];
    return plain;
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
