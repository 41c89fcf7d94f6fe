#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The CSV files beside the report pages: fields separated by ';' (the list
// separator of a Spanish Windows), rows ended by CR LF, UTF-8 with a
// byte-order mark, so that Excel and LibreOffice Calc open them with their
// accents right and their columns split.
namespace mirvane::report::csv {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Appends one row of UTF-8 fields. A field holding the separator, a quote or
// a line break is quoted, its quotes doubled; a field that a spreadsheet
// would take for a formula is preceded by an apostrophe, which it shows as
// text.
void appendRow(std::string& out, std::initializer_list<std::string_view> fieldsUtf8);

// Whether a spreadsheet would take the field for a formula.
inline bool looksLikeFormula(std::string_view field) {
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
// Whether a Windows-1252 text is a field as it stands: ASCII, nothing to
// quote. Most codes are.
bool isPlainField(std::string_view cp1252);
// Whether `written`, Windows-1252 fields each preceded by ';', holds
// `count` fields that are plain but perhaps for their first bytes, which
// looksLikeFormula judges apart. One pass over a whole row's keys; with a
// count of 0, over one field without its ';'.
bool arePlainFields(std::string_view written, std::size_t count);

// One field as appendRow writes it: appended, or as a text of its own for a
// value that many rows repeat.
void appendField(std::string& out, std::string_view utf8);
std::string field(std::string_view utf8);
// A field of Windows-1252 text, converted on the way.
void appendWindows1252Field(std::string& out, std::string_view cp1252);

}  // namespace mirvane::report::csv
