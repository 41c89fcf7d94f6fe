#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The layout of a dBase table file: the 32-byte header, the field
// descriptors and the record area that follows them. Parsing validates every
// length against the file, so that reading a record can never leave it.
namespace mirvane::dbf {

// The families of header layout that differ in how fields are stored.
enum class Dialect {
    dBase,         // dBase III/IV/5, FoxBASE, FoxPro: 32-byte field descriptors
    dBase7,        // dBase 7: a 68-byte header and 48-byte field descriptors
    VisualFoxPro,  // 32-byte descriptors, binary fields little-endian, _NullFlags
};

struct FieldDescriptor {
    std::string name;          // as stored, without its NUL padding
    char type = 'C';           // the dBase type letter
    std::uint32_t offset = 0;  // within the record, after the deletion flag
    std::uint32_t width = 0;
    std::uint8_t decimals = 0;
    std::uint8_t flags = 0;  // Visual FoxPro: 0x01 system, 0x02 nullable
    int nullBit = -1;        // Visual FoxPro: the field's bit in _NullFlags
    int lengthBit = -1;      // Visual FoxPro varchar: set when shorter than its width
};

struct Layout {
    Dialect dialect = Dialect::dBase;
    std::uint8_t version = 0x03;
    std::uint8_t languageDriver = 0x57;
    std::uint32_t recordCount = 0;  // as the header gives it
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    std::vector<FieldDescriptor> fields;
    int nullFlagsField = -1;  // index of Visual FoxPro's _NullFlags in `fields`
};

// Offsets of the header fields a writer updates.
inline constexpr std::size_t kDateOffset = 1;
inline constexpr std::size_t kCountOffset = 4;
inline constexpr char kEndOfFile = 0x1A;
inline constexpr char kDeletedFlag = '*';

// Reads the header and field descriptors of `bytes` (the whole file), checking
// them against each other and against the file's length. Raises the engine's
// "damaged table" error naming `file`.
Layout parseLayout(std::string_view bytes, const std::filesystem::path& file);

// How many whole records the file holds after the header (the count rules
// when it is smaller; a larger count is a damaged table).
std::uint32_t usableRecordCount(const Layout& layout, std::string_view bytes,
                                const std::filesystem::path& file);

// The header of a new dBase III table with these fields (offsets and the
// record length are computed here), no records, dated `year/month/day`.
std::string encodeHeader(Layout& layout, int year, int month, int day);

// The three date bytes and the record count, as bytes 1..7 of the header.
std::string encodeDateAndCount(int year, int month, int day, std::uint32_t count);

}  // namespace mirvane::dbf
