// Saving a document: serialized in the encoding it declares, as it stands (no
// reformatting), straight into a safe file that replaces the target only when
// the whole document is written.

#include <libxml/xmlsave.h>

#include <climits>
#include <exception>
#include <functional>
#include <string>

#include "base/error.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "xml/detail.h"

namespace mirvane::xml {
namespace {

// What libxml2 writes goes to the sink; a failure is kept to be raised once
// libxml2 has returned, as no exception may cross its frames.
struct Output {
    const std::function<void(std::string_view)>& sink;
    std::exception_ptr failure;
};

int writeTo(void* context, const char* buffer, int length) {
    auto* output = static_cast<Output*>(context);
    try {
        output->sink(std::string_view(buffer, static_cast<std::size_t>(length)));
        return length;
    } catch (...) {
        if (!output->failure) output->failure = std::current_exception();
        return -1;
    }
}

}  // namespace

std::string savedEncoding(xmlDocPtr doc) {
    return doc->encoding ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
}

void serialize(xmlDocPtr doc, const std::filesystem::path& file,
               const std::function<void(std::string_view)>& sink) {
    ensureEncodings();
    const std::string encoding = savedEncoding(doc);
    // A document read without a declaration is written without one (and then
    // in UTF-8, which needs none).
    const int options = doc->standalone == -1 ? XML_SAVE_NO_DECL : 0;

    const DefaultedAttributesHidden defaults(doc);
    Output output{sink, nullptr};
    ErrorCapture error;
    xmlSaveCtxtPtr writer = xmlSaveToIO(writeTo, nullptr, &output, encoding.c_str(), options);
    if (!writer)
        fail("No se puede guardar " + paths::toUtf8(file) + " en la codificación «" + encoding +
             "»" + (error.failed() ? ": " + error.reason() : std::string()));
    const long written = xmlSaveDoc(writer, doc);
    const int closed = xmlSaveClose(writer);
    if (output.failure) std::rethrow_exception(output.failure);
    if (written < 0 || closed < 0 || error.failed()) failConversion(file, encoding, error);
}

void failConversion(const std::filesystem::path& file, const std::string& encoding,
                    const ErrorCapture& error) {
    fail("No se puede convertir el documento a la codificación «" + encoding + "» para guardar " +
         paths::toUtf8(file) + (error.failed() ? ": " + error.reason() : std::string()));
}

void Document::save(const std::filesystem::path& file) const {
    if (!impl_->doc) fail("No hay ningún documento XML que guardar en " + paths::toUtf8(file));
    SafeFileWriter target(file);
    serialize(impl_->doc, file, [&](std::string_view bytes) { target.write(bytes); });
    target.commit();
}

}  // namespace mirvane::xml
