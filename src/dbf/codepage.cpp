#include "dbf/codepage.h"

#include <algorithm>
#include <utility>

#include "base/os_codepage.h"
#include "base/text.h"

namespace mirvane::dbf {
namespace {

struct Driver {
    std::uint8_t byte;
    unsigned codePage;  // Windows' number
};

// The well-known table of dBase and FoxPro language drivers. Windows-1252
// (0x03, 0x57, 0x58, 0x59) is the program's own and is left out.
constexpr Driver kDrivers[] = {
    {0x01, 437},   {0x02, 850},   {0x04, 10000}, {0x08, 865},  {0x09, 437},  {0x0A, 850},
    {0x0B, 437},   {0x0D, 437},   {0x0E, 850},   {0x0F, 437},  {0x10, 850},  {0x11, 437},
    {0x12, 850},   {0x13, 932},   {0x14, 850},   {0x15, 437},  {0x16, 850},  {0x17, 865},
    {0x18, 437},   {0x19, 437},   {0x1A, 850},   {0x1B, 437},  {0x1C, 863},  {0x1D, 850},
    {0x1F, 852},   {0x22, 852},   {0x23, 852},   {0x24, 860},  {0x25, 850},  {0x26, 866},
    {0x37, 850},   {0x40, 852},   {0x4D, 936},   {0x4E, 949},  {0x4F, 950},  {0x50, 874},
    {0x64, 852},   {0x65, 866},   {0x66, 865},   {0x67, 861},  {0x6A, 737},  {0x6B, 857},
    {0x6C, 863},   {0x78, 950},   {0x79, 949},   {0x7A, 936},  {0x7B, 932},  {0x7C, 874},
    {0x7D, 1255},  {0x7E, 1256},  {0x86, 737},   {0x87, 852},  {0x88, 857},  {0x96, 10007},
    {0x97, 10029}, {0x98, 10006}, {0xC8, 1250},  {0xC9, 1251}, {0xCA, 1254}, {0xCB, 1253},
    {0xCC, 1257},
};

bool isMultiByte(unsigned codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

}  // namespace

unsigned codePageOf(std::uint8_t languageDriver) {
    for (const Driver& driver : kDrivers)
        if (driver.byte == languageDriver) return driver.codePage;
    return 0;
}

CodePage::CodePage(std::uint8_t languageDriver) {
    const unsigned codePage = codePageOf(languageDriver);
    if (codePage == 0) return;
    if (isMultiByte(codePage)) {
        // A code page this system lacks: the bytes are read as they are.
        if (!os::decodeCodePage(codePage, "")) return;
        kind_ = Kind::MultiByte;
        codePage_ = codePage;
        return;
    }
    std::string everyByte(256, '\0');
    for (int byte = 0; byte < 256; ++byte) everyByte[byte] = static_cast<char>(byte);
    for (int byte = 0; byte < 256; ++byte) {
        const auto converted = os::decodeCodePage(codePage, everyByte.substr(byte, 1));
        if (!converted) return;
        const std::string inWindows1252 = text::fromUtf8(*converted);
        table_[byte] = inWindows1252.size() == 1 ? inWindows1252[0] : '?';
    }
    kind_ = Kind::SingleByte;
}

std::string CodePage::toWindows1252(std::string_view bytes) const {
    switch (kind_) {
        case Kind::Identity:
            return std::string(bytes);
        case Kind::SingleByte: {
            std::string out(bytes);
            for (char& c : out) c = table_[static_cast<unsigned char>(c)];
            return out;
        }
        case Kind::MultiByte:
            return text::fromUtf8(
                os::decodeCodePage(codePage_, bytes).value_or(std::string(bytes)));
    }
    return std::string(bytes);
}

}  // namespace mirvane::dbf
