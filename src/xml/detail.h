#pragma once

// Inside the XML service only: the document's libxml2 state and the capture
// of libxml2's error reports. Nothing here is seen by the service's callers.

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "xml/document.h"

namespace mirvane::xml {

struct Document::Impl {
    xmlDocPtr doc = nullptr;
    std::string name;  // the file as messages name it
    bool loaded = false;
    xmlXPathContextPtr xpathContext = nullptr;  // made at the first XPath
    std::unordered_map<std::string, xmlXPathCompExprPtr> compiled;

    Impl() = default;
    ~Impl() { release(); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void release();                                             // frees everything above
    void adopt(xmlDocPtr parsed, const std::string& fileName);  // replaces the document
    // The nodes `xpath` selects from `context`, in document order.
    std::vector<void*> select(xmlNodePtr context, std::string_view xpath);
};

// What a parse does besides building the tree, for the length of one parse.
class ParseHooks {
  public:
    virtual ~ParseHooks() = default;
    // The size in bytes of the input about to be read, before begin(): a
    // hint, as the file may change while it is read.
    virtual void inputSize(std::uint64_t) {}
    virtual void begin(xmlParserCtxtPtr parser) = 0;  // before the parser reads
    // Once it has read; `doc` is null when the parse failed.
    virtual void end(xmlDocPtr doc) = 0;
    // Whether the hooks stopped the parse on purpose: its outcome, errors
    // included, is then the caller's to deal with.
    virtual bool abandoned() const { return false; }
};

struct FreeDoc {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using ParsedDoc = std::unique_ptr<xmlDoc, FreeDoc>;

// One protected parse of a file or of bytes, with `hooks` (when not null) in
// place: no network, no outside resource, entities bounded, the first error
// raised as the message the user sees (naming the file, line and column).
ParsedDoc parseFile(const std::filesystem::path& file, ParseHooks* hooks);
ParsedDoc parseMemory(std::string_view bytes, const std::string& name, ParseHooks* hooks);

// Makes `parser`'s tree hold the attributes its DTD supplies by default,
// marked as such. Before any other hook takes the parser's handlers.
void supplyAttributeDefaults(xmlParserCtxtPtr parser);

// While it lives, the attributes the DTD supplied are out of the tree, so
// that a save writes only those the document wrote.
class DefaultedAttributesHidden {
  public:
    explicit DefaultedAttributesHidden(xmlDocPtr doc);
    ~DefaultedAttributesHidden();
    DefaultedAttributesHidden(const DefaultedAttributesHidden&) = delete;
    DefaultedAttributesHidden& operator=(const DefaultedAttributesHidden&) = delete;

  private:
    void hide(xmlDocPtr doc);
    void restore();

    struct Hidden {
        xmlAttrPtr attr;
        xmlNodePtr element;
        xmlAttrPtr previous;  // the attribute it followed; null when first
    };
    std::vector<Hidden> hidden_;
};

// Registers the program's own windows-1252 encoding with libxml2, once,
// before anything is read or written.
void ensureEncodings();

// The first error libxml2 reports while an ErrorCapture lives. While it
// lives, libxml2's reports come here instead of standard error; on leaving,
// the handlers that were there before are put back.
class ErrorCapture {
  public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    // Takes a report (warnings are ignored); used as a structured handler.
    static void collect(void* capture, xmlErrorPtr error);

    bool failed() const { return failed_; }
    int code() const { return code_; }
    int line() const { return line_; }
    int column() const { return column_; }
    const std::string& reason() const { return reason_; }  // UTF-8, no trailing newline
    const std::string& str1() const { return str1_; }
    const std::string& str2() const { return str2_; }
    int int1() const { return int1_; }

  private:
    xmlStructuredErrorFunc previousStructured_;
    void* previousStructuredContext_;
    xmlGenericErrorFunc previousGeneric_;
    void* previousGenericContext_;

    bool failed_ = false;
    int code_ = 0;
    int line_ = 0;
    int column_ = 0;
    int int1_ = 0;
    std::string reason_;
    std::string str1_;
    std::string str2_;
};

// While it lives, `parser` builds no node inside the root's first child
// element named `section` (in no namespace), though it still reads and checks
// all of it. emptySection(), once the parse is over, removes what libxml2 may
// have put there by other paths (copies of entities parsed before).
class SectionSkipper {
  public:
    SectionSkipper(xmlParserCtxtPtr parser, std::string section);
    ~SectionSkipper();
    SectionSkipper(const SectionSkipper&) = delete;
    SectionSkipper& operator=(const SectionSkipper&) = delete;

    void emptySection();

  private:
    static void startElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                             int attributeCount, int defaultedCount, const xmlChar** attributes);
    static void endElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                           const xmlChar* uri);
    // Any other content goes to libxml2's own handler outside the section only.
    template <auto Handler, typename... Arguments>
    static void outsideOnly(void* parser, Arguments... arguments) {
        SectionSkipper& self = of(parser);
        if (self.depth_ == 0 && self.original_.*Handler)
            (self.original_.*Handler)(parser, arguments...);
    }
    static SectionSkipper& of(void* parser);  // the skipper a parser reports to

    xmlParserCtxtPtr parser_;
    std::string section_;
    xmlSAXHandler original_;
    xmlNodePtr sectionNode_ = nullptr;  // the section, once its start is read
    int depth_ = 0;                     // inside the section: 1 + the open elements in it
};

// The encoding a document is saved in: the one it declares, UTF-8 when none.
std::string savedEncoding(xmlDocPtr doc);
// The document as Document::save writes it, handed to `sink` piece by piece.
void serialize(xmlDocPtr doc, const std::filesystem::path& file,
               const std::function<void(std::string_view)>& sink);
[[noreturn]] void failConversion(const std::filesystem::path& file, const std::string& encoding,
                                 const ErrorCapture& error);

// Raises unless `utf8` is text an XML document can hold: valid UTF-8 without
// NUL or control characters other than tab and line breaks. `what` names it
// in the message ("texto", "valor").
void requireWritableText(std::string_view utf8, std::string_view what);

// A text from libxml2 as valid UTF-8: bytes of a malformed sequence become '?'.
using text::validUtf8;

inline xmlNodePtr raw(void* node) {
    return static_cast<xmlNodePtr>(node);
}
inline const xmlChar* xmlText(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

}  // namespace mirvane::xml
