#include "core/run_common.h"

#include <system_error>

#include "formats/exchange.h"

namespace mirvane::core {

bool chosenFileExists(const std::filesystem::path& file) {
    if (file.empty()) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

std::unique_ptr<xml::Document> loadDocument(const std::filesystem::path& file) {
    auto document = std::make_unique<xml::Document>();
    document->load(file);
    return document;
}

std::unique_ptr<xml::Document> loadDocumentToReplaceSalidas(const std::filesystem::path& file) {
    auto document = std::make_unique<xml::Document>();
    document->load(file, {.emptiedSection = formats::kSalidas});
    return document;
}

}  // namespace mirvane::core
