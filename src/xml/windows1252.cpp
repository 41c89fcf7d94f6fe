// The windows-1252 encoding, the program's own table on every build. libxml2
// built without iconv (the Windows build) knows only ISO-8859-1, which
// differs from Windows-1252 in 0x80-0x9F (€, “ ”, œ...); iconv (the Linux
// build) refuses the five bytes the code page leaves undefined, which Windows
// reads as U+0081, U+008D, U+008F, U+0090 and U+009D. One table reads and
// writes every byte alike on both.

#include <libxml/encoding.h>

#include <cstring>
#include <mutex>

#include "base/text.h"
#include "xml/detail.h"

namespace mirvane::xml {
namespace {

// libxml2's input conversion: Windows-1252 bytes to UTF-8, as many as fit.
int windows1252ToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    if (!out || !outLength || !inLength) return -1;
    if (!in) {
        *outLength = *inLength = 0;
        return 0;
    }
    int read = 0;
    int written = 0;
    while (read < *inLength) {
        char bytes[4];
        const auto size = static_cast<int>(
            text::encodeUtf8(text::codePointOf(static_cast<char>(in[read])), bytes));
        if (written + size > *outLength) break;
        std::memcpy(out + written, bytes, static_cast<std::size_t>(size));
        written += size;
        ++read;
    }
    *outLength = written;
    *inLength = read;
    return written;
}

// libxml2's output conversion: UTF-8 to Windows-1252. A character the code
// page lacks stops it with -2 and `inLength` at that character, so that
// libxml2 writes it as a character reference.
int utf8ToWindows1252(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    if (!out || !outLength || !inLength) return -1;
    if (!in) {
        *outLength = *inLength = 0;
        return 0;
    }
    int read = 0;
    int written = 0;
    int result = 0;
    while (read < *inLength && written < *outLength) {
        const text::Decoded decoded = text::decodeUtf8(std::string_view(
            reinterpret_cast<const char*>(in + read), static_cast<std::size_t>(*inLength - read)));
        if (decoded.length == 0) break;  // the rest comes with the next piece
        const std::optional<char> byte =
            decoded.codePoint == text::kMalformed ? std::nullopt : text::byteOf(decoded.codePoint);
        if (!byte) {
            result = -2;
            break;
        }
        out[written++] = static_cast<unsigned char>(*byte);
        read += static_cast<int>(decoded.length);
    }
    *outLength = written;
    *inLength = read;
    return result < 0 ? result : written;
}

}  // namespace

void ensureEncodings() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        // Registered by being made, and found before iconv; libxml2 matches
        // names without regard to case.
        xmlNewCharEncodingHandler("WINDOWS-1252", windows1252ToUtf8, utf8ToWindows1252);
        xmlAddEncodingAlias("WINDOWS-1252", "CP1252");
    });
}

}  // namespace mirvane::xml
