#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"
#include "dbf/table.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"
#include "support/testing.h"

// Exchange documents written in a line or two, and work tables read back, for
// the tests of the export writers. Values in documents are UTF-8; values read
// from tables are Windows-1252, as the program keeps them.
namespace mirvane::export_test {

using Record = std::vector<std::string>;                            // field values by position
using Labelled = std::vector<std::pair<std::string, std::string>>;  // label, value

inline std::string escaped(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// A section whose records label their fields F1, F2, ... (labels do not count).
inline std::string section(std::string_view seq, const std::vector<Record>& records) {
    std::string out = "<listasal seq=\"" + std::string(seq) + "\">";
    for (const Record& record : records) {
        out += "<listasal>";
        for (std::size_t k = 0; k < record.size(); ++k)
            out += "<salida dato=\"F" + std::to_string(k + 1) + "\">" + escaped(record[k]) +
                   "</salida>";
        out += "</listasal>";
    }
    return out + "</listasal>";
}

// A section whose fields carry the given labels.
inline std::string labelledSection(std::string_view seq, const std::vector<Labelled>& records) {
    std::string out = "<listasal seq=\"" + std::string(seq) + "\">";
    for (const Labelled& record : records) {
        out += "<listasal>";
        for (const auto& [label, value] : record)
            out += "<salida dato=\"" + label + "\">" + escaped(value) + "</salida>";
        out += "</listasal>";
    }
    return out + "</listasal>";
}

inline std::string exchange(const std::vector<std::string>& sections) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><SALIDAS>";
    for (const std::string& s : sections) out += s;
    return out + "</SALIDAS></SERVICIO>\n";
}

inline std::unique_ptr<formats::ExchangeRecords> parse(const std::string& text) {
    return std::make_unique<formats::ExchangeRecords>(
        formats::ExchangeRecords::readMemory(text, "prueba.xml"));
}

// A table's rows, every field read as text (logical fields as "T" or "F").
using TableRow = std::map<std::string, std::string>;

inline std::vector<TableRow> readTable(const std::filesystem::path& folder,
                                       const formats::TableSpec& spec) {
    dbf::Table table;
    table.setDatabaseName(folder);
    table.setTableName(spec.name);
    table.open();
    std::vector<TableRow> rows;
    for (table.first(); !table.eof(); table.next()) {
        TableRow row;
        for (const formats::FieldSpec& field : spec.fields)
            row[std::string(field.name)] = table.asText(field.name);
        rows.push_back(std::move(row));
    }
    return rows;
}

// One field of every row.
inline std::vector<std::string> column(const std::vector<TableRow>& rows, const std::string& name) {
    std::vector<std::string> values;
    for (const TableRow& row : rows) values.push_back(row.at(name));
    return values;
}

// Windows-1252 from a UTF-8 literal.
inline std::string cp(std::string_view utf8) {
    return text::fromUtf8(utf8);
}

}  // namespace mirvane::export_test
