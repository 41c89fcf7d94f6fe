#include "report/csv.h"

namespace mirvane::report::csv {
namespace {

bool looksLikeFormula(std::string_view field) {
    return !field.empty() &&
           std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos;
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

}  // namespace

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
