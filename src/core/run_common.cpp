#include "core/run_common.h"

#include <system_error>

namespace mirvane::core {

bool chosenFileExists(const std::filesystem::path& file) {
    if (file.empty()) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

std::unique_ptr<xml::Document> loadDocument(const std::filesystem::path& file,
                                            const xml::LoadOptions& options) {
    auto document = std::make_unique<xml::Document>();
    document->load(file, options);
    return document;
}

}  // namespace mirvane::core
