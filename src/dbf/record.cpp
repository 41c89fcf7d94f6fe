#include "dbf/record.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/error.h"
#include "base/text.h"
#include "dbf/field.h"
#include "dbf/messages.h"

namespace mirvane::dbf {
namespace {

bool isBinary(char type) {
    return std::string_view("IYT@+O0").find(type) != std::string_view::npos;
}

std::string where(const FieldDescriptor& field, const std::filesystem::path& file) {
    return "el campo " + text::toUtf8(field.name) + " de la tabla " + shown(file);
}

[[noreturn]] void failUnwritable(const FieldDescriptor& field, const std::filesystem::path& file) {
    fail("No se puede escribir en " + where(field, file) +
         ": es de un tipo que este programa no escribe.");
}

void put(std::string& record, const FieldDescriptor& field, std::string_view bytes) {
    const std::size_t length = std::min<std::size_t>(bytes.size(), field.width);
    char* target = record.data() + field.offset;
    std::memcpy(target, bytes.data(), length);
    std::memset(target + length, ' ', field.width - length);
}

// `bytes` fit the field: the caller has checked.
void putRight(std::string& record, const FieldDescriptor& field, std::string_view bytes) {
    char* target = record.data() + field.offset;
    std::memset(target, ' ', field.width - bytes.size());
    std::memcpy(target + field.width - bytes.size(), bytes.data(), bytes.size());
}

}  // namespace

std::string blankRecord(const Layout& layout) {
    std::string record(layout.recordLength, ' ');
    for (const FieldDescriptor& field : layout.fields)
        if (isBinary(field.type) || (field.type == 'B' && layout.dialect == Dialect::VisualFoxPro))
            record.replace(field.offset, field.width, std::string(field.width, '\0'));
    return record;
}

void storeText(std::string& record, const FieldDescriptor& field, std::string_view value,
               const std::filesystem::path& file) {
    switch (field.type) {
        case 'C':
            put(record, field, value);
            return;
        case 'N':
        case 'F': {
            const std::string_view digits = text::trim(value);
            if (digits.empty()) {
                put(record, field, {});
                return;
            }
            double number = 0;
            if (!parseNumber(digits, number))
                fail("'" + text::toUtf8(value) + "' is not a valid floating point value");
            storeFloat(record, field, number, file);
            return;
        }
        case 'L': {
            const std::string_view letter = text::trim(value);
            if (letter.empty()) {
                put(record, field, {});
            } else if (letter.size() == 1 &&
                       std::string_view("TtYy").find(letter[0]) != std::string_view::npos) {
                put(record, field, "T");
            } else if (letter.size() == 1 &&
                       std::string_view("FfNn").find(letter[0]) != std::string_view::npos) {
                put(record, field, "F");
            } else {
                fail("No se puede escribir '" + text::toUtf8(value) + "' en " + where(field, file) +
                     ": admite T o F.");
            }
            return;
        }
        case 'D':
            put(record, field, value);
            return;
        default:
            failUnwritable(field, file);
    }
}

void storeBool(std::string& record, const FieldDescriptor& field, bool value,
               const std::filesystem::path& file) {
    if (field.type != 'L')
        fail("No se puede escribir un valor lógico en " + where(field, file) + ".");
    put(record, field, value ? "T" : "F");
}

void storeFloat(std::string& record, const FieldDescriptor& field, double value,
                const std::filesystem::path& file) {
    if (field.type == 'C') {
        put(record, field, fmt::format("{}", value));
        return;
    }
    if (field.type != 'N' && field.type != 'F') failUnwritable(field, file);
    // The exact decimal value rounded to the field's decimals, as printf's
    // %.*f writes it; a number too long for the buffer fits no field.
    char buffer[512];
    std::string_view digits;
    if (std::isfinite(value)) {
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                           std::chars_format::fixed, field.decimals);
        if (written.ec == std::errc()) {
            digits = {buffer, static_cast<std::size_t>(written.ptr - buffer)};
            // A negative number that rounds to zero is written as zero.
            if (digits.front() == '-' && digits.find_first_not_of("-0.") == std::string_view::npos)
                digits.remove_prefix(1);
        }
    }
    if (digits.empty() || digits.size() > field.width)
        fail("El valor " + fmt::format("{}", value) + " no cabe en " + where(field, file) + ".");
    putRight(record, field, digits);
}

}  // namespace mirvane::dbf
