#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

// Hand-made table files for the engine's tests: every byte where a test
// wants it, including the faults real files carry.
namespace mirvane::dbf::testing {

struct RawField {
    std::string name;
    char type = 'C';
    int width = 1;
    int decimals = 0;
    std::uint8_t flags = 0;
};

struct RawTable {
    std::uint8_t version = 0x03;
    std::uint8_t languageDriver = 0x57;
    std::vector<RawField> fields;
    std::vector<std::string> records;  // each with its deletion flag
    bool dBase7 = false;               // 68-byte header, 48-byte descriptors
    bool terminator = true;
    std::string afterTerminator;  // Visual FoxPro's backlink, or a stray byte
    bool endMarker = true;
    std::optional<std::uint32_t> count;         // the records by default
    std::optional<std::uint32_t> recordLength;  // the fields' sum by default

    std::string bytes() const {
        const std::size_t descriptor = dBase7 ? 48 : 32;
        std::string header(dBase7 ? 68 : 32, '\0');
        std::uint32_t length = 1;
        std::string descriptors;
        for (const RawField& field : fields) {
            std::string d(descriptor, '\0');
            d.replace(0, field.name.size(), field.name);
            const std::size_t typeAt = dBase7 ? 32 : 11;
            d[typeAt] = field.type;
            d[dBase7 ? 33 : 16] = static_cast<char>(field.width);
            d[dBase7 ? 34 : 17] = static_cast<char>(field.decimals);
            if (!dBase7) {
                d[12] = static_cast<char>(length & 0xFF);
                d[13] = static_cast<char>(length >> 8);
                d[18] = static_cast<char>(field.flags);
            }
            length += static_cast<std::uint32_t>(field.width);
            descriptors += d;
        }
        if (terminator) descriptors += '\x0D';
        descriptors += afterTerminator;
        const std::uint32_t headerLength =
            static_cast<std::uint32_t>(header.size() + descriptors.size());
        const std::uint32_t recordSize = recordLength.value_or(length);
        const std::uint32_t n = count.value_or(static_cast<std::uint32_t>(records.size()));
        header[0] = static_cast<char>(version);
        header[1] = 124;
        header[2] = 5;
        header[3] = 17;
        for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<char>((n >> (8 * i)) & 0xFF);
        header[8] = static_cast<char>(headerLength & 0xFF);
        header[9] = static_cast<char>(headerLength >> 8);
        header[10] = static_cast<char>(recordSize & 0xFF);
        header[11] = static_cast<char>(recordSize >> 8);
        header[29] = static_cast<char>(languageDriver);
        std::string out = header + descriptors;
        for (const std::string& record : records) out += record;
        if (endMarker) out += '\x1A';
        return out;
    }
};

// Little-endian bytes of a value.
template <typename T>
std::string le(T value) {
    std::string out(sizeof(T), '\0');
    std::memcpy(out.data(), &value, sizeof(T));
    return out;
}

}  // namespace mirvane::dbf::testing
