#include "dbf/header.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include <fmt/format.h>

#include "base/error.h"
#include "base/text.h"
#include "dbf/messages.h"

namespace mirvane::dbf {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDbase7HeaderSize = 68;
constexpr char kTerminator = 0x0D;

std::uint32_t u16(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint32_t u32(std::string_view bytes, std::size_t at) {
    return u16(bytes, at) | u16(bytes, at + 2) << 16;
}

void putU16(std::string& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void putU32(std::string& out, std::size_t at, std::uint32_t value) {
    putU16(out, at, value & 0xFFFF);
    putU16(out, at + 2, value >> 16);
}

bool isKnownVersion(std::uint8_t version) {
    constexpr std::array<std::uint8_t, 18> kKnown = {0x02, 0x03, 0x04, 0x05, 0x30, 0x31,
                                                     0x32, 0x43, 0x63, 0x7B, 0x83, 0x8B,
                                                     0x8C, 0xB3, 0xCB, 0xE5, 0xF5, 0xFB};
    return std::find(kKnown.begin(), kKnown.end(), version) != kKnown.end();
}

bool isVisualFoxPro(std::uint8_t version) {
    return version >= 0x30 && version <= 0x32;
}

std::string named(std::string_view name) {
    return fmt::format("'{}'", text::toUtf8(name));
}

// The width a binary field type must have, or 0 when any width is fine.
std::uint32_t requiredWidth(char type, Dialect dialect) {
    switch (type) {
        case 'I':
        case '+':
            return 4;
        case 'O':
        case 'Y':
        case 'T':
        case '@':
            return 8;
        case 'B':
            return dialect == Dialect::VisualFoxPro ? 8 : 0;
        default:
            return 0;
    }
}

bool isKnownType(char type) {
    return std::string_view("CNFLDMGPBIYT@+O0VQW").find(type) != std::string_view::npos;
}

// The field descriptors in one layout, or the fault that rules the layout out.
struct Attempt {
    Layout layout;
    std::string fault;  // empty when the layout fits
};

Attempt readFields(std::string_view bytes, Layout layout) {
    const bool dBase7 = layout.dialect == Dialect::dBase7;
    const std::size_t start = dBase7 ? kDbase7HeaderSize : kHeaderSize;
    const std::size_t size = dBase7 ? 48 : 32;
    const std::size_t nameLength = dBase7 ? 32 : 11;
    const std::size_t end = layout.headerLength;
    if (end < start + 1) return {layout, "la cabecera es más corta de lo que exige su formato"};

    std::uint32_t offset = 1;  // after the deletion flag
    for (std::size_t pos = start; pos < end; pos += size) {
        // The list ends at its terminator; without one it ends with the header.
        if (bytes[pos] == kTerminator) break;
        if (pos + size > end) {
            if (bytes[pos] == '\0') break;  // padding up to the header length
            return {layout, "la lista de campos no cabe en la cabecera"};
        }
        const std::string_view nameArea = bytes.substr(pos, nameLength);
        const std::size_t nul = nameArea.find('\0');
        const std::size_t number = layout.fields.size() + 1;
        if (nul == std::string_view::npos)
            return {layout,
                    "el nombre del campo n.º " + std::to_string(number) + " no termina donde debe"};
        if (nul == 0)
            return {layout, "el campo n.º " + std::to_string(number) + " no tiene nombre"};

        FieldDescriptor field;
        field.name = std::string(nameArea.substr(0, nul));
        field.type = text::toUpper(bytes[pos + nameLength]);
        const std::size_t widthAt = dBase7 ? 33 : 16;  // after the type (and a displacement)
        field.width = static_cast<unsigned char>(bytes[pos + widthAt]);
        field.decimals = static_cast<unsigned char>(bytes[pos + widthAt + 1]);
        if (!dBase7) field.flags = static_cast<unsigned char>(bytes[pos + 18]);
        if (!isKnownType(field.type))
            return {layout, "el campo " + named(field.name) + " es de un tipo desconocido"};
        if (field.width == 0)
            return {layout, "el campo " + named(field.name) + " tiene longitud cero"};
        const std::uint32_t required = requiredWidth(field.type, layout.dialect);
        if (required != 0 && field.width != required)
            return {layout, "el campo " + named(field.name) + " tiene una longitud imposible"};
        field.offset = offset;
        offset += field.width;
        layout.fields.push_back(std::move(field));
    }
    if (layout.fields.empty()) return {layout, "no tiene campos"};
    if (offset > layout.recordLength)
        return {layout, "sus campos ocupan " + std::to_string(offset) +
                            " bytes pero cada registro solo tiene " +
                            std::to_string(layout.recordLength)};
    return {layout, {}};
}

// Visual FoxPro keeps one bit per nullable field, and one per varchar field
// shorter than its width, in the hidden field _NullFlags.
void assignNullBits(Layout& layout) {
    if (layout.dialect != Dialect::VisualFoxPro) return;
    for (std::size_t i = 0; i < layout.fields.size(); ++i)
        if (layout.fields[i].type == '0' &&
            text::equalsIgnoreCase(layout.fields[i].name, "_NullFlags"))
            layout.nullFlagsField = static_cast<int>(i);
    if (layout.nullFlagsField < 0) return;
    const int available = static_cast<int>(layout.fields[layout.nullFlagsField].width) * 8;
    int bit = 0;
    for (FieldDescriptor& field : layout.fields) {
        if (field.type == '0') continue;
        if (field.type == 'V' || field.type == 'Q') {
            if (bit < available) field.lengthBit = bit;
            ++bit;
        }
        if (field.flags & 0x02) {
            if (bit < available) field.nullBit = bit;
            ++bit;
        }
    }
}

}  // namespace

Layout parseLayout(std::string_view bytes, const std::filesystem::path& file) {
    if (bytes.size() < kHeaderSize)
        failDamaged(file, "la cabecera está incompleta (el archivo solo tiene " +
                              std::to_string(bytes.size()) + " bytes)");
    Layout base;
    base.version = static_cast<unsigned char>(bytes[0]);
    base.recordCount = u32(bytes, kCountOffset);
    base.headerLength = u16(bytes, 8);
    base.recordLength = u16(bytes, 10);
    base.languageDriver = static_cast<unsigned char>(bytes[29]);
    if (base.headerLength > bytes.size())
        failDamaged(file, "la cabecera dice ocupar " + std::to_string(base.headerLength) +
                              " bytes pero el archivo solo tiene " + std::to_string(bytes.size()));
    if (base.recordLength < 2) failDamaged(file, "la longitud de sus registros es imposible");
    if (bytes[15] == 1 && (base.version & 0x07) == 4)
        fail("No se puede leer la tabla " + shown(file) +
             ": está cifrada. Guárdela sin contraseña e inténtelo de nuevo.");

    std::vector<Dialect> candidates;
    if (isVisualFoxPro(base.version)) {
        candidates = {Dialect::VisualFoxPro};
    } else if ((base.version & 0x07) == 4) {
        candidates = {Dialect::dBase, Dialect::dBase7};  // dBase IV and dBase 7 share the level
    } else {
        candidates = {Dialect::dBase};
    }

    std::string fault;
    for (Dialect dialect : candidates) {
        Layout layout = base;
        layout.dialect = dialect;
        Attempt attempt = readFields(bytes, layout);
        if (attempt.fault.empty()) {
            assignNullBits(attempt.layout);
            return attempt.layout;
        }
        if (fault.empty()) fault = attempt.fault;
    }
    if (!isKnownVersion(base.version)) {
        char version[8];
        std::snprintf(version, sizeof version, "0x%02X", base.version);
        fail("No se puede leer la tabla " + shown(file) +
             ": no es una tabla dBase conocida (versión " + version + ") o está dañada: " + fault +
             ".");
    }
    failDamaged(file, fault);
}

std::uint32_t usableRecordCount(const Layout& layout, std::string_view bytes,
                                const std::filesystem::path& file) {
    const std::uint64_t present = (bytes.size() - layout.headerLength) / layout.recordLength;
    if (layout.recordCount > present)
        failDamaged(file, "la cabecera cuenta " + std::to_string(layout.recordCount) +
                              " registros pero el archivo solo contiene " +
                              std::to_string(present));
    return layout.recordCount;
}

std::string encodeHeader(Layout& layout, int year, int month, int day) {
    layout.dialect = Dialect::dBase;
    layout.headerLength = static_cast<std::uint32_t>(kHeaderSize + 32 * layout.fields.size() + 1);
    std::uint32_t offset = 1;
    for (FieldDescriptor& field : layout.fields) {
        field.offset = offset;
        offset += field.width;
    }
    layout.recordLength = offset;
    layout.recordCount = 0;

    std::string header(layout.headerLength, '\0');
    header[0] = static_cast<char>(layout.version);
    header.replace(kDateOffset, 7, encodeDateAndCount(year, month, day, 0));
    putU16(header, 8, layout.headerLength);
    putU16(header, 10, layout.recordLength);
    header[29] = static_cast<char>(layout.languageDriver);
    std::size_t pos = kHeaderSize;
    for (const FieldDescriptor& field : layout.fields) {
        header.replace(pos, field.name.size(), field.name);
        header[pos + 11] = field.type;
        putU32(header, pos + 12, field.offset);  // FoxPro readers take it as the displacement
        header[pos + 16] = static_cast<char>(field.width);
        header[pos + 17] = static_cast<char>(field.decimals);
        pos += 32;
    }
    header[pos] = kTerminator;
    return header;
}

std::string encodeDateAndCount(int year, int month, int day, std::uint32_t count) {
    std::string bytes(7, '\0');
    bytes[0] = static_cast<char>(std::clamp(year - 1900, 0, 255));
    bytes[1] = static_cast<char>(month);
    bytes[2] = static_cast<char>(day);
    putU32(bytes, 3, count);
    return bytes;
}

}  // namespace mirvane::dbf
