// Saving a document: serialized in the encoding it declares, as it stands (no
// reformatting), straight into a safe file that replaces the target only when
// the whole document is written.

#include <libxml/xmlsave.h>

#include <climits>
#include <exception>
#include <string>

#include "base/error.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "xml/detail.h"

namespace mirvane::xml {
namespace {

// What libxml2 writes goes to the file; a failure is kept to be raised once
// libxml2 has returned, as no exception may cross its frames.
struct Output {
    SafeFileWriter& file;
    std::exception_ptr failure;
};

int writeTo(void* context, const char* buffer, int length) {
    auto* output = static_cast<Output*>(context);
    try {
        output->file.write(std::string_view(buffer, static_cast<std::size_t>(length)));
        return length;
    } catch (...) {
        if (!output->failure) output->failure = std::current_exception();
        return -1;
    }
}

}  // namespace

void Document::save(const std::filesystem::path& file) const {
    if (!impl_->doc) fail("No hay ningún documento XML que guardar en " + paths::toUtf8(file));
    xmlDocPtr doc = impl_->doc;
    ensureEncodings();
    const std::string encoding =
        doc->encoding ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
    // A document read without a declaration is written without one (and then
    // in UTF-8, which needs none).
    const int options = doc->standalone == -1 ? XML_SAVE_NO_DECL : 0;

    SafeFileWriter target(file);
    Output output{target, nullptr};
    {
        ErrorCapture error;
        xmlSaveCtxtPtr writer = xmlSaveToIO(writeTo, nullptr, &output, encoding.c_str(), options);
        if (!writer)
            fail("No se puede guardar " + paths::toUtf8(file) + " en la codificación «" + encoding +
                 "»" + (error.failed() ? ": " + error.reason() : std::string()));
        const long written = xmlSaveDoc(writer, doc);
        const int closed = xmlSaveClose(writer);
        if (output.failure) std::rethrow_exception(output.failure);
        if (written < 0 || closed < 0 || error.failed())
            fail("No se puede convertir el documento a la codificación «" + encoding +
                 "» para guardar " + paths::toUtf8(file) +
                 (error.failed() ? ": " + error.reason() : std::string()));
    }
    target.commit();
}

}  // namespace mirvane::xml
