#include "dbf/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace mirvane::dbf {
namespace {

struct Driver {
    std::uint8_t byte;
    std::string_view codePage;
};

// The well-known table of dBase and FoxPro language drivers. Windows-1252
// (0x03, 0x57, 0x58, 0x59) is the program's own and is left out.
constexpr Driver kDrivers[] = {
    {0x01, "CP437"},
    {0x02, "CP850"},
    {0x04, "MACINTOSH"},
    {0x08, "CP865"},
    {0x09, "CP437"},
    {0x0A, "CP850"},
    {0x0B, "CP437"},
    {0x0D, "CP437"},
    {0x0E, "CP850"},
    {0x0F, "CP437"},
    {0x10, "CP850"},
    {0x11, "CP437"},
    {0x12, "CP850"},
    {0x13, "CP932"},
    {0x14, "CP850"},
    {0x15, "CP437"},
    {0x16, "CP850"},
    {0x17, "CP865"},
    {0x18, "CP437"},
    {0x19, "CP437"},
    {0x1A, "CP850"},
    {0x1B, "CP437"},
    {0x1C, "CP863"},
    {0x1D, "CP850"},
    {0x1F, "CP852"},
    {0x22, "CP852"},
    {0x23, "CP852"},
    {0x24, "CP860"},
    {0x25, "CP850"},
    {0x26, "CP866"},
    {0x37, "CP850"},
    {0x40, "CP852"},
    {0x4D, "CP936"},
    {0x4E, "CP949"},
    {0x4F, "CP950"},
    {0x50, "CP874"},
    {0x64, "CP852"},
    {0x65, "CP866"},
    {0x66, "CP865"},
    {0x67, "CP861"},
    {0x6A, "CP737"},
    {0x6B, "CP857"},
    {0x6C, "CP863"},
    {0x78, "CP950"},
    {0x79, "CP949"},
    {0x7A, "CP936"},
    {0x7B, "CP932"},
    {0x7C, "CP874"},
    {0x7D, "CP1255"},
    {0x7E, "CP1256"},
    {0x86, "CP737"},
    {0x87, "CP852"},
    {0x88, "CP857"},
    {0x96, "MAC-CYRILLIC"},
    {0x97, "MAC-CENTRALEUROPE"},
    {0x98, "MAC-GREEK"},
    {0xC8, "CP1250"},
    {0xC9, "CP1251"},
    {0xCA, "CP1254"},
    {0xCB, "CP1253"},
    {0xCC, "CP1257"},
};

bool isMultiByte(std::string_view codePage) {
    return codePage == "CP932" || codePage == "CP936" || codePage == "CP949" || codePage == "CP950";
}

// An iconv conversion to UTF-8, closed when it goes.
class Converter {
  public:
    explicit Converter(const std::string& from) : handle_(::iconv_open("UTF-8", from.c_str())) {}
    ~Converter() {
        if (valid()) ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // UTF-8 of `bytes`; a byte that does not convert becomes '?'.
    std::string toUtf8(std::string_view bytes) const {
        std::string out;
        std::string buffer(bytes.size() * 4 + 8, '\0');
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t result = ::iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), buffer.size() - outLeft);
            if (result == static_cast<std::size_t>(-1) && inLeft > 0) {
                out += '?';  // an invalid or incomplete sequence: skip one byte
                ++in;
                --inLeft;
                ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::string_view codePageOf(std::uint8_t languageDriver) {
    for (const Driver& driver : kDrivers)
        if (driver.byte == languageDriver) return driver.codePage;
    return {};
}

CodePage::CodePage(std::uint8_t languageDriver) {
    const std::string_view codePage = codePageOf(languageDriver);
    if (codePage.empty()) return;
    Converter converter{std::string(codePage)};
    if (!converter.valid()) return;  // a code page this system lacks: read the bytes as they are
    if (isMultiByte(codePage)) {
        kind_ = Kind::MultiByte;
        name_ = std::string(codePage);
        return;
    }
    kind_ = Kind::SingleByte;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string converted = text::fromUtf8(converter.toUtf8(std::string_view(&c, 1)));
        table_[byte] = converted.size() == 1 ? converted[0] : '?';
    }
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
        case Kind::MultiByte: {
            Converter converter{name_};
            return text::fromUtf8(converter.toUtf8(bytes));
        }
    }
    return std::string(bytes);
}

}  // namespace mirvane::dbf
