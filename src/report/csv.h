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

// One field as appendRow writes it.
void appendField(std::string& out, std::string_view utf8);
// A field of Windows-1252 text, converted on the way.
void appendWindows1252Field(std::string& out, std::string_view cp1252);
// The same for several, each preceded by ';'. Most are plain codes, which
// go as they stand, checked together in one pass.
void appendWindows1252Fields(std::string& out, std::initializer_list<std::string_view> cp1252);

}  // namespace mirvane::report::csv
