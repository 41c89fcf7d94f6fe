// The document around the streamed element is serialized by libxml2 with a
// processing instruction of a name no document holds standing where the
// element goes; the element's bytes then take its place. They are escaped
// as libxml2 escapes text and attribute values, and go through the same
// encoder, which writes a character the encoding lacks as a reference.

#include "xml/streamed_save.h"

#include <libxml/HTMLtree.h>
#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "xml/detail.h"

namespace mirvane::xml {
namespace {

constexpr std::size_t kPieceBytes = 64 * 1024;

std::string placeholderName() {
    std::random_device random;
    std::string name = "mirvane-";
    char digits[9];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(digits, sizeof digits, "%08x", random());
        name += digits;
    }
    return name;
}

// Whether libxml2 writes the document as XHTML, where an empty element is
// written with an end tag.
bool savedAsXhtml(xmlDocPtr doc) {
#ifdef LIBXML_HTML_ENABLED
    const xmlDtd* dtd = xmlGetIntSubset(doc);
    return dtd && xmlIsXHTML(dtd->SystemID, dtd->ExternalID) > 0;
#else
    (void)doc;
    return false;
#endif
}

}  // namespace

struct StreamedSave::Impl {
    struct FreeBuffer {
        void operator()(xmlBufferPtr buffer) const { xmlBufferFree(buffer); }
    };
    using Buffer = std::unique_ptr<xmlBuffer, FreeBuffer>;

    std::filesystem::path file;
    std::string encoding;
    xmlCharEncodingHandlerPtr encoder = nullptr;  // none for UTF-8
    bool xhtml = false;
    // A default namespace is in scope at the root: the element, in none,
    // undeclares it.
    bool undeclareDefault = false;
    std::string tail;  // the bytes after the element, encoded
    SafeFileWriter target;

    // The element's markup not yet encoded and written, UTF-8.
    std::string pending;
    std::vector<std::string> open;
    bool startTagOpen = false;  // the last start tag still lacks its ">"

    explicit Impl(const std::filesystem::path& path) : file(path), target(path) {}
    ~Impl() {
        if (encoder) xmlCharEncCloseFunc(encoder);
    }

    void closeStartTag() {
        if (startTagOpen) pending += '>';
        startTagOpen = false;
    }

    void flush() {
        if (pending.empty()) return;
        target.write(encoded(pending));
        pending.clear();
    }

    // UTF-8 markup in the document's encoding, as libxml2's output writes it:
    // the bytes stay good until the next call. The buffers are kept for the
    // next piece.
    std::string_view encoded(std::string_view utf8) {
        if (!encoder) return utf8;
        ErrorCapture error;
        if (!in) in.reset(xmlBufferCreateSize(kPieceBytes + 1));
        if (!out) out.reset(xmlBufferCreateSize(2 * kPieceBytes + 64));
        if (!in || !out) fail("No hay memoria para guardar " + paths::toUtf8(file));
        xmlBufferEmpty(in.get());
        xmlBufferEmpty(out.get());
        if (xmlBufferAdd(in.get(), reinterpret_cast<const xmlChar*>(utf8.data()),
                         static_cast<int>(utf8.size())) != 0)
            fail("No hay memoria para guardar " + paths::toUtf8(file));
        while (xmlBufferLength(in.get()) > 0) {
            const int before = xmlBufferLength(in.get());
            if (xmlCharEncOutFunc(encoder, out.get(), in.get()) < 0 || error.failed() ||
                xmlBufferLength(in.get()) == before)
                failConversion(file, encoding, error);
        }
        return {reinterpret_cast<const char*>(xmlBufferContent(out.get())),
                static_cast<std::size_t>(xmlBufferLength(out.get()))};
    }
    Buffer in, out;  // encoded()'s, kept between pieces

    // What xmlsave writes for a text node, or for an attribute's text, which
    // also escapes its quote, tabs and line feeds. Other characters go as they
    // are: the encoder writes a reference for one the encoding lacks.
    void appendEscaped(std::string_view value, bool attribute) {
        for (const char c : value) {
            const char* reference = nullptr;
            switch (c) {
                case '<':
                    reference = "&lt;";
                    break;
                case '>':
                    reference = "&gt;";
                    break;
                case '&':
                    reference = "&amp;";
                    break;
                case '\r':
                    reference = "&#13;";
                    break;
                case '"':
                    reference = attribute ? "&quot;" : nullptr;
                    break;
                case '\t':
                    reference = attribute ? "&#9;" : nullptr;
                    break;
                case '\n':
                    reference = attribute ? "&#10;" : nullptr;
                    break;
                default:
                    break;
            }
            if (reference)
                pending += reference;
            else
                pending += c;
        }
    }
};

StreamedSave::StreamedSave(const Document& document, const std::filesystem::path& file) {
    xmlDocPtr doc = document.impl_->doc;
    xmlNodePtr root = doc ? xmlDocGetRootElement(doc) : nullptr;
    if (!root) fail("No hay ningún documento XML que guardar en " + paths::toUtf8(file));
    ensureEncodings();

    // The document as save() writes it, with the placeholder where the element goes.
    const std::string name = placeholderName();
    xmlNodePtr placeholder = xmlNewDocPI(doc, xmlText(name), nullptr);
    if (!placeholder || !xmlAddChild(root, placeholder)) {
        xmlFreeNode(placeholder);
        fail("No hay memoria para guardar " + paths::toUtf8(file));
    }
    std::string whole;
    try {
        serialize(doc, file, [&](std::string_view bytes) { whole.append(bytes); });
    } catch (...) {
        xmlUnlinkNode(placeholder);
        xmlFreeNode(placeholder);
        throw;
    }
    xmlUnlinkNode(placeholder);
    xmlFreeNode(placeholder);

    impl_ = std::make_unique<Impl>(file);
    Impl& impl = *impl_;
    impl.encoding = savedEncoding(doc);
    impl.xhtml = savedAsXhtml(doc);
    const xmlNs* inScope = xmlSearchNs(doc, root, nullptr);
    impl.undeclareDefault = inScope && inScope->href && inScope->href[0];
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(impl.encoding.c_str());
    if (!handler)
        fail("No se puede guardar " + paths::toUtf8(file) + " en la codificación «" +
             impl.encoding + "»");
    if (xmlStrcasecmp(reinterpret_cast<const xmlChar*>(handler->name),
                      reinterpret_cast<const xmlChar*>("UTF-8")) == 0)
        xmlCharEncCloseFunc(handler);
    else
        impl.encoder = handler;

    const std::string marker(impl.encoded("<?" + name + "?>"));
    const std::size_t at = whole.find(marker);
    if (at == std::string::npos) fail("No se puede guardar " + paths::toUtf8(file));
    impl.tail = whole.substr(at + marker.size());
    whole.resize(at);
    impl.target.write(whole);
}

StreamedSave::~StreamedSave() = default;

void StreamedSave::start(std::string_view name, std::string_view attribute,
                         std::string_view value) {
    Impl& impl = *impl_;
    impl.closeStartTag();
    impl.pending += '<';
    impl.pending += name;
    if (impl.open.empty() && impl.undeclareDefault) impl.pending += " xmlns=\"\"";
    if (!attribute.empty()) {
        requireWritableText(value, "valor");
        impl.pending += ' ';
        impl.pending += attribute;
        impl.pending += "=\"";
        impl.appendEscaped(value, true);
        impl.pending += '"';
    }
    impl.startTagOpen = true;
    impl.open.emplace_back(name);
}

void StreamedSave::text(std::string_view utf8) {
    requireWritableText(utf8, "texto");
    if (utf8.empty()) return;  // an element with no text is an empty element
    Impl& impl = *impl_;
    impl.closeStartTag();
    impl.appendEscaped(utf8, false);
}

void StreamedSave::end() {
    Impl& impl = *impl_;
    if (impl.startTagOpen && !impl.xhtml) {
        impl.pending += "/>";
        impl.startTagOpen = false;
    } else {
        impl.closeStartTag();
        impl.pending += "</";
        impl.pending += impl.open.back();
        impl.pending += '>';
    }
    impl.open.pop_back();
    if (impl.pending.size() >= kPieceBytes) impl.flush();
}

void StreamedSave::commit() {
    Impl& impl = *impl_;
    impl.flush();
    impl.target.write(impl.tail);
    impl.target.commit();
}

}  // namespace mirvane::xml
