// The windows-1252 encoding for a libxml2 built without iconv (the Windows
// build): libxml2 knows ISO-8859-1 by itself, but that differs from
// Windows-1252 in 0x80-0x9F (€, “ ”, œ...), so the program's own table is
// registered under the encoding's names.

#include <libxml/encoding.h>

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
        const char32_t cp = text::codePointOf(static_cast<char>(in[read]));
        const int size = cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
        if (written + size > *outLength) break;
        if (size == 1) {
            out[written] = static_cast<unsigned char>(cp);
        } else if (size == 2) {
            out[written] = static_cast<unsigned char>(0xC0 | (cp >> 6));
            out[written + 1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        } else {
            out[written] = static_cast<unsigned char>(0xE0 | (cp >> 12));
            out[written + 1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
            out[written + 2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        }
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
        const unsigned char lead = in[read];
        const int size = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC0 ? 2
                                        : 0;
        if (size == 0) {
            result = -2;  // not UTF-8
            break;
        }
        if (read + size > *inLength) break;  // the rest comes with the next piece
        char32_t cp = size == 1 ? lead : lead & (0xFF >> (size + 1));
        for (int i = 1; i < size; ++i) cp = (cp << 6) | (in[read + i] & 0x3F);
        const std::optional<char> byte = text::byteOf(cp);
        if (!byte) {
            result = -2;
            break;
        }
        out[written++] = static_cast<unsigned char>(*byte);
        read += size;
    }
    *outLength = written;
    *inLength = read;
    return result < 0 ? result : written;
}

}  // namespace

void registerWindows1252() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        // Registered by being made; libxml2 matches names without regard to case.
        xmlNewCharEncodingHandler("WINDOWS-1252", windows1252ToUtf8, utf8ToWindows1252);
        xmlAddEncodingAlias("WINDOWS-1252", "CP1252");
    });
}

void ensureEncodings() {
#ifdef _WIN32
    registerWindows1252();
#endif
}

}  // namespace mirvane::xml
