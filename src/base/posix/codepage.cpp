#include <iconv.h>

#include "base/os_codepage.h"

namespace mirvane::os {
namespace {

// iconv's name for a Windows code page number.
std::string iconvName(unsigned codePage) {
    switch (codePage) {
        case 10000:
            return "MACINTOSH";
        case 10006:
            return "MAC-GREEK";
        case 10007:
            return "MAC-CYRILLIC";
        case 10029:
            return "MAC-CENTRALEUROPE";
        default:
            return "CP" + std::to_string(codePage);
    }
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

std::optional<std::string> decodeCodePage(unsigned codePage, std::string_view bytes) {
    const Converter converter(iconvName(codePage));
    if (!converter.valid()) return std::nullopt;
    return converter.toUtf8(bytes);
}

}  // namespace mirvane::os
