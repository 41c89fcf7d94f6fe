#include "dbf/field.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/error.h"
#include "base/text.h"

namespace mirvane::dbf {
namespace {

bool isPadding(char c) {
    return c == ' ' || c == '\0';
}

std::string_view trimRight(std::string_view value) {
    while (!value.empty() && isPadding(value.back())) value.remove_suffix(1);
    return value;
}

std::string_view trimBoth(std::string_view value) {
    value = trimRight(value);
    while (!value.empty() && isPadding(value.front())) value.remove_prefix(1);
    return value;
}

std::uint64_t littleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

std::uint64_t bigEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (char c : bytes) value = value << 8 | static_cast<unsigned char>(c);
    return value;
}

// dBase 7 stores binary numbers big-endian with the sign bit flipped, so that
// their bytes sort as the numbers do.
std::int32_t dBase7Integer(std::string_view bytes) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bigEndian(bytes)) ^ 0x80000000u);
}

double dBase7Double(std::string_view bytes) {
    std::uint64_t bits = bigEndian(bytes);
    bits = (bits & 0x8000000000000000ull) ? bits ^ 0x8000000000000000ull : ~bits;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double littleEndianDouble(std::string_view bytes) {
    const std::uint64_t bits = littleEndian(bytes);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Proleptic Gregorian date of a Julian day number (days since 4713 BC).
std::string julianDate(std::int64_t julianDay) {
    std::int64_t z = julianDay - 2440588 + 719468;  // days since 0000-03-01
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2);
    return fmt::format("{:04}-{:02}-{:02}", year, month, day);
}

std::string dateTime(std::uint32_t julianDay, std::uint32_t milliseconds) {
    if (julianDay == 0) return {};
    const std::uint32_t seconds = milliseconds / 1000;
    return julianDate(julianDay) +
           fmt::format(" {:02}:{:02}:{:02}", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string currency(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::string out = fmt::format("{}{}", negative ? "-" : "", magnitude / 10000);
    std::string fraction = fmt::format("{:04}", magnitude % 10000);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) out += "." + fraction;
    return out;
}

std::int32_t rounded(double value, std::string_view shownAs) {
    if (!std::isfinite(value) || value < -2147483648.5 || value >= 2147483647.5)
        text::failNotInteger(shownAs);
    return static_cast<std::int32_t>(std::lround(value));
}

// A number with decimals as the engine's float-to-text writes it: the
// shortest text that reads back as the same number (" 1.00" gives "1",
// "2.50" gives "2.5"). Digits that are no number stay as they are.
std::string decimalText(std::string_view digits) {
    double value = 0;
    if (digits.empty() || !parseNumber(digits, value)) return std::string(digits);
    return fmt::format("{}", value == 0 ? 0.0 : value);  // no "-0"
}

[[noreturn]] void failNotFloat(std::string_view value) {
    fail(fmt::format("'{}' is not a valid floating point value", text::toUtf8(value)));
}

}  // namespace

std::string_view numericText(std::string_view stored) {
    const std::string_view digits = trimBoth(stored);
    if (digits == "." || digits.find_first_not_of('*') == std::string_view::npos) return {};
    return digits;
}

bool parseNumber(std::string_view digits, double& value) {
    std::string copy(digits);
    for (char& c : copy)
        if (c == ',') c = '.';
    const char* begin = copy.data();
    const char* end = begin + copy.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return begin != end && error == std::errc() && stop == end && std::isfinite(value);
}

std::string_view FieldValue::raw() const {
    return record_.substr(field_.offset, field_.width);
}

bool FieldValue::isNull() const {
    if (field_.nullBit < 0 || layout_.nullFlagsField < 0) return false;
    const FieldDescriptor& flags = layout_.fields[layout_.nullFlagsField];
    const auto byte = static_cast<unsigned char>(record_[flags.offset + field_.nullBit / 8]);
    return (byte >> (field_.nullBit % 8)) & 1;
}

std::string FieldValue::text() const {
    if (isNull()) return {};
    const std::string_view bytes = raw();
    const bool dBase7 = layout_.dialect == Dialect::dBase7;
    switch (field_.type) {
        case 'C':
            return codePage_.toWindows1252(trimRight(bytes));
        case 'V': {
            std::string_view value = bytes;
            if (field_.lengthBit >= 0 && layout_.nullFlagsField >= 0) {
                const FieldDescriptor& flags = layout_.fields[layout_.nullFlagsField];
                const auto byte =
                    static_cast<unsigned char>(record_[flags.offset + field_.lengthBit / 8]);
                if ((byte >> (field_.lengthBit % 8)) & 1)
                    value = bytes.substr(
                        0, std::min<std::size_t>(static_cast<unsigned char>(bytes.back()),
                                                 bytes.size() - 1));
            }
            return codePage_.toWindows1252(trimRight(value));
        }
        case 'N':
        case 'F':
            return field_.decimals == 0 ? std::string(numericText(bytes))
                                        : decimalText(numericText(bytes));
        case 'L': {
            switch (bytes[0]) {
                case 'T':
                case 't':
                case 'Y':
                case 'y':
                    return "T";
                case 'F':
                case 'f':
                case 'N':
                case 'n':
                    return "F";
                default:
                    return {};
            }
        }
        case 'D': {
            const std::string_view date = trimBoth(bytes);
            return date.find_first_not_of('0') == std::string_view::npos ? std::string()
                                                                         : std::string(date);
        }
        case 'I':
        case '+':
            return std::to_string(dBase7 ? dBase7Integer(bytes)
                                         : static_cast<std::int32_t>(littleEndian(bytes)));
        case 'O':
            return fmt::format("{}", dBase7 ? dBase7Double(bytes) : littleEndianDouble(bytes));
        case 'Y':
            return currency(static_cast<std::int64_t>(littleEndian(bytes)));
        case 'T':
        case '@': {
            const std::string_view day = bytes.substr(0, 4);
            const std::string_view time = bytes.substr(4, 4);
            return dBase7 ? dateTime(static_cast<std::uint32_t>(bigEndian(day)),
                                     static_cast<std::uint32_t>(bigEndian(time)))
                          : dateTime(static_cast<std::uint32_t>(littleEndian(day)),
                                     static_cast<std::uint32_t>(littleEndian(time)));
        }
        case 'B':
            if (layout_.dialect == Dialect::VisualFoxPro)
                return fmt::format("{}", littleEndianDouble(bytes));
            [[fallthrough]];
        case 'M':
        case 'G':
        case 'P':
        case 'W':
            // A memo reference: its block number, stored as text or (4 bytes) binary.
            if (bytes.size() == 4) {
                const auto block = static_cast<std::uint32_t>(littleEndian(bytes));
                return block == 0 ? std::string() : std::to_string(block);
            }
            return std::string(trimBoth(bytes));
        default:
            return {};  // _NullFlags and binary data have no text
    }
}

std::int32_t FieldValue::integer() const {
    if (isNull()) return 0;
    const std::string_view bytes = raw();
    const bool dBase7 = layout_.dialect == Dialect::dBase7;
    switch (field_.type) {
        case 'N':
        case 'F': {
            const std::string_view digits = numericText(bytes);
            if (digits.empty()) return 0;
            std::int32_t whole = 0;
            if (text::tryToInt(digits, whole)) return whole;
            double value = 0;
            if (!parseNumber(digits, value)) text::failNotInteger(digits);
            return rounded(value, digits);
        }
        case 'I':
        case '+':
            return dBase7 ? dBase7Integer(bytes) : static_cast<std::int32_t>(littleEndian(bytes));
        case 'Y': {
            const auto value = static_cast<std::int64_t>(littleEndian(bytes));
            return rounded(static_cast<double>(value) / 10000.0, text());
        }
        case 'O':
        case 'B':
            if (field_.type == 'O' || layout_.dialect == Dialect::VisualFoxPro)
                return rounded(dBase7 ? dBase7Double(bytes) : littleEndianDouble(bytes), text());
            [[fallthrough]];
        default:
            return text::toInt(text());
    }
}

double FieldValue::number() const {
    if (isNull()) return 0;
    const std::string_view bytes = raw();
    const bool dBase7 = layout_.dialect == Dialect::dBase7;
    switch (field_.type) {
        case 'N':
        case 'F': {
            const std::string_view digits = numericText(bytes);
            double value = 0;
            if (!digits.empty() && !parseNumber(digits, value)) failNotFloat(digits);
            return value;
        }
        case 'I':
        case '+':
            return integer();
        case 'Y':
            return static_cast<double>(static_cast<std::int64_t>(littleEndian(bytes))) / 10000.0;
        case 'O':
        case 'B':
            if (field_.type == 'O' || layout_.dialect == Dialect::VisualFoxPro)
                return dBase7 ? dBase7Double(bytes) : littleEndianDouble(bytes);
            [[fallthrough]];
        default: {
            const std::string value = text();
            double result = 0;
            if (!parseNumber(text::trim(value), result)) failNotFloat(value);
            return result;
        }
    }
}

}  // namespace mirvane::dbf
