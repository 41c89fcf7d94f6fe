// Loading a document: the bytes are read here and handed to libxml2 with
// every outside access refused, entities bounded, and the parser's first
// error turned into a message that names the file, the place and the reason.

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>

#include "base/error.h"
#include "base/os_file.h"
#include "base/paths.h"
#include "xml/detail.h"

namespace mirvane::xml {

// ---- Error capture -----------------------------------------------------------

namespace {
void ignoreGenericError(void*, const char*, ...) {}

// A report on one line, as a message box shows it.
std::string stripped(const char* text) {
    std::string result = validUtf8(text ? text : "");
    for (char& c : result)
        if (c == '\n') c = ' ';
    while (!result.empty() && (result.back() == '\n' || result.back() == ' ')) result.pop_back();
    return result;
}
}  // namespace

ErrorCapture::ErrorCapture()
    : previousStructured_(xmlStructuredError),
      previousStructuredContext_(xmlStructuredErrorContext),
      previousGeneric_(xmlGenericError),
      previousGenericContext_(xmlGenericErrorContext) {
    xmlSetStructuredErrorFunc(this, collect);
    xmlSetGenericErrorFunc(nullptr, ignoreGenericError);
}

ErrorCapture::~ErrorCapture() {
    xmlSetStructuredErrorFunc(previousStructuredContext_, previousStructured_);
    xmlSetGenericErrorFunc(previousGenericContext_, previousGeneric_);
}

void ErrorCapture::collect(void* capture, xmlErrorPtr error) {
    auto* self = static_cast<ErrorCapture*>(capture);
    if (!self || !error || error->level < XML_ERR_ERROR || self->failed_) return;
    self->failed_ = true;
    self->code_ = error->code;
    self->line_ = error->line;
    self->column_ = error->int2;
    self->int1_ = error->int1;
    self->reason_ = stripped(error->message);
    self->str1_ = stripped(error->str1);
    self->str2_ = stripped(error->str2);
}

// ---- Loading -----------------------------------------------------------------

namespace {

// The outside resource a document asked for during the current load.
std::string* refusedResource = nullptr;

xmlParserInputPtr refuseEverything(const char* url, const char* id, xmlParserCtxtPtr) {
    if (refusedResource && refusedResource->empty()) *refusedResource = url ? url : id ? id : "?";
    return nullptr;
}

// Refuses every external entity, DTD and the like for one load, then puts
// back the loader that was there.
class RefuseOutsideResources {
  public:
    explicit RefuseOutsideResources(std::string& refused)
        : previous_(xmlGetExternalEntityLoader()) {
        refusedResource = &refused;
        xmlSetExternalEntityLoader(refuseEverything);
    }
    ~RefuseOutsideResources() {
        xmlSetExternalEntityLoader(previous_);
        refusedResource = nullptr;
    }
    RefuseOutsideResources(const RefuseOutsideResources&) = delete;
    RefuseOutsideResources& operator=(const RefuseOutsideResources&) = delete;

  private:
    xmlExternalEntityLoader previous_;
};

struct FreeParser {
    void operator()(xmlParserCtxtPtr parser) const { xmlFreeParserCtxt(parser); }
};

constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR |
                              XML_PARSE_NOWARNING | XML_PARSE_COMPACT | XML_PARSE_BIG_LINES;

// The parser's reason, in Spanish for the faults a user will meet; libxml2's
// own words otherwise.
std::string reasonOf(const ErrorCapture& error) {
    const std::string& name = error.str1();
    switch (error.code()) {
        case XML_ERR_DOCUMENT_EMPTY:  // libxml2 also gives it for text before the first tag
            if (error.reason().rfind("Start tag expected", 0) != 0)
                return "el documento está vacío";
            [[fallthrough]];
        case XML_ERR_DOCUMENT_START:
            return "no empieza por una etiqueta («<»); no parece un documento XML";
        case XML_ERR_DOCUMENT_END:
            return "hay contenido después del final del documento";
        case XML_ERR_TAG_NAME_MISMATCH:
            return "la etiqueta de cierre </" + error.str2() + "> no corresponde a <" + name +
                   ">, abierta en la línea " + std::to_string(error.int1());
        case XML_ERR_TAG_NOT_FINISHED:
            return "el documento termina sin cerrar la etiqueta <" + name +
                   ">, abierta en la línea " + std::to_string(error.int1());
        case XML_ERR_INVALID_CHAR:
        case XML_ERR_INVALID_ENCODING:
        case XML_I18N_CONV_FAILED:
            return "hay caracteres que no están en la codificación que declara el documento "
                   "(UTF-8 cuando no declara ninguna)";
        case XML_ERR_UNSUPPORTED_ENCODING:
            return "la codificación «" + name + "» no es conocida";
        case XML_ERR_UNDECLARED_ENTITY:
        case XML_WAR_UNDECLARED_ENTITY:
            return "la entidad «&" + name + ";» no está definida";
        case XML_ERR_HYPHEN_IN_COMMENT:
            return "un comentario contiene «--» antes de su final («-->»)";
        case XML_ERR_COMMENT_NOT_FINISHED:  // also given for one too long
            if (error.reason().rfind("Comment too big", 0) == 0)
                return "un comentario es demasiado largo";
            return "un comentario («<!--») no se cierra con «-->»";
        case XML_ERR_ENTITY_LOOP:
            return "las entidades del documento se repiten o se expanden sin medida";
        default:
            return error.reason().empty() ? "error de sintaxis" : error.reason();
    }
}

[[noreturn]] void failNotValid(const std::string& name, const ErrorCapture& error) {
    std::string message = "El archivo " + name + " no es un documento XML válido";
    if (error.line() > 0) {
        message += " (línea " + std::to_string(error.line());
        if (error.column() > 0) message += ", columna " + std::to_string(error.column());
        message += ")";
    }
    fail(message + ": " + reasonOf(error));
}

[[noreturn]] void failEmpty(const std::string& name) {
    fail("El archivo " + name + " está vacío: no es un documento XML válido");
}

// Runs one libxml2 read with every outside resource refused and turns the
// parser's first error into the message the user sees; checkInput() raises
// first when the input itself could not be read.
template <typename Read, typename CheckInput>
ParsedDoc parseWith(const std::string& name, std::uint64_t size, ParseHooks* hooks, Read read,
                    CheckInput checkInput) {
    ensureEncodings();
    std::unique_ptr<xmlParserCtxt, FreeParser> parser(xmlNewParserCtxt());
    if (!parser) fail("No hay memoria para leer el archivo " + name);
    supplyAttributeDefaults(parser.get());

    std::string refused;
    ParsedDoc doc;
    ErrorCapture error;
    {
        RefuseOutsideResources refuse(refused);
        if (hooks) hooks->inputSize(size);
        if (hooks) hooks->begin(parser.get());
        doc.reset(read(parser.get()));
        if (hooks) hooks->end(doc.get());
    }
    checkInput();
    if (hooks && hooks->abandoned()) return doc;  // stopped on purpose: nothing to judge
    if (error.failed() || !doc || !parser->wellFormed) {
        if (error.failed()) failNotValid(name, error);
        fail("El archivo " + name + " no es un documento XML válido");
    }
    if (!refused.empty())
        fail("El archivo " + name + " hace referencia a un recurso externo («" +
             validUtf8(refused) + "»), que no se lee por seguridad");
    return doc;
}

// The file being read, for the parser's read callback; a read error is kept
// for the message rather than raised through libxml2's frames. The parser
// asks for a few kilobytes at a time: the file is read in larger pieces,
// which it is then given from.
struct Input {
    static constexpr std::size_t kPiece = 64 * 1024;

    os::File& file;
    os::Failure failure;
    std::unique_ptr<char[]> piece;
    std::size_t next = 0;  // in the piece: what the parser has not taken
    std::size_t end = 0;

    int read(char* buffer, std::size_t length) {
        if (next == end) {
            if (!piece) piece = std::make_unique<char[]>(kPiece);
            end = file.read(piece.get(), kPiece, failure);
            next = 0;
            if (failure) return -1;
        }
        const std::size_t given = std::min(length, end - next);
        std::memcpy(buffer, piece.get() + next, given);
        next += given;
        return static_cast<int>(given);
    }
};

int readFrom(void* context, char* buffer, int length) {
    return static_cast<Input*>(context)->read(buffer, static_cast<std::size_t>(length));
}

// Leaves the root's section named in the options empty while it is read.
class EmptiedSection : public ParseHooks {
  public:
    explicit EmptiedSection(std::string_view section) : section_(section) {}
    void begin(xmlParserCtxtPtr parser) override {
        if (!section_.empty()) skipper_.emplace(parser, section_);
    }
    void end(xmlDocPtr doc) override {
        if (doc && skipper_) skipper_->emptySection();
        skipper_.reset();
    }

  private:
    std::string section_;
    std::optional<SectionSkipper> skipper_;
};

}  // namespace

// The file is handed to the parser as it is read, so that its bytes are never
// all in memory beside the tree.
ParsedDoc parseFile(const std::filesystem::path& file, ParseHooks* hooks) {
    const std::string shown = paths::toUtf8(file);
    const os::Kind kind = paths::kindOf(file);
    if (kind == os::Kind::Missing) fail("No existe el archivo " + shown);
    if (kind == os::Kind::Directory) fail(shown + " es una carpeta, no un archivo XML");
    const std::string name = paths::toUtf8(file.filename());
    os::Failure failure;
    os::File open = os::File::open(file, os::Access::Read, os::Hold::Unheld, failure);
    if (failure) fail("No se puede leer " + shown + ": " + failure.reason);
    if (open.size() == 0) failEmpty(name);

    Input input{open, {}, {}};
    const auto failedRead = [&] {
        if (input.failure) fail("No se puede leer " + shown + ": " + input.failure.reason);
    };
    return parseWith(
        name, open.size(), hooks,
        [&](xmlParserCtxtPtr parser) {
            return xmlCtxtReadIO(parser, readFrom, nullptr, &input, nullptr, nullptr,
                                 kParseOptions);
        },
        failedRead);
}

ParsedDoc parseMemory(std::string_view bytes, const std::string& name, ParseHooks* hooks) {
    if (bytes.empty()) failEmpty(name);
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        fail("El archivo " + name + " es demasiado grande para leerlo como documento XML");
    return parseWith(
        name, bytes.size(), hooks,
        [&](xmlParserCtxtPtr parser) {
            return xmlCtxtReadMemory(parser, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr, kParseOptions);
        },
        [] {});
}

void Document::load(const std::filesystem::path& file, const LoadOptions& options) {
    EmptiedSection emptied(options.emptiedSection);
    auto doc = parseFile(file, &emptied);
    impl_->adopt(doc.release(), paths::toUtf8(file.filename()));
}

void Document::loadMemory(std::string_view bytes, const std::string& name,
                          const LoadOptions& options) {
    EmptiedSection emptied(options.emptiedSection);
    auto doc = parseMemory(bytes, name, &emptied);
    impl_->adopt(doc.release(), name);
}

}  // namespace mirvane::xml
