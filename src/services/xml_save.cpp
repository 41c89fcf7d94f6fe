// Saving a document: serialized in memory in the encoding it declares, as it
// stands (no reformatting), then written over the target in one step.

#include <libxml/xmlsave.h>

#include <climits>
#include <string>

#include "services/error.h"
#include "services/safe_file.h"
#include "services/xml_detail.h"

namespace mirvane::xml {
namespace {

int appendTo(void* context, const char* buffer, int length) {
    static_cast<std::string*>(context)->append(buffer, static_cast<std::size_t>(length));
    return length;
}

}  // namespace

void Document::save(const std::filesystem::path& file) const {
    if (!impl_->doc) fail("No hay ningún documento XML que guardar en " + file.string());
    xmlDocPtr doc = impl_->doc;
    const std::string encoding =
        doc->encoding ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
    // A document read without a declaration is written without one (and then
    // in UTF-8, which needs none).
    const int options = doc->standalone == -1 ? XML_SAVE_NO_DECL : 0;

    std::string bytes;
    {
        ErrorCapture error;
        xmlSaveCtxtPtr writer = xmlSaveToIO(appendTo, nullptr, &bytes, encoding.c_str(), options);
        if (!writer)
            fail("No se puede guardar " + file.string() + " en la codificación «" + encoding + "»" +
                 (error.failed() ? ": " + error.reason() : std::string()));
        const long written = xmlSaveDoc(writer, doc);
        const int closed = xmlSaveClose(writer);
        if (written < 0 || closed < 0 || error.failed())
            fail("No se puede convertir el documento a la codificación «" + encoding +
                 "» para guardar " + file.string() +
                 (error.failed() ? ": " + error.reason() : std::string()));
    }
    saveFileSafely(file, bytes);
}

}  // namespace mirvane::xml
