#include "core/run_common.h"

#include "base/paths.h"

namespace mirvane::core {

bool chosenFileExists(const std::filesystem::path& file) {
    if (file.empty()) return false;
    return paths::kindOf(file) == os::Kind::Regular;
}

std::unique_ptr<xml::Document> loadDocument(const std::filesystem::path& file,
                                            const xml::LoadOptions& options) {
    auto document = std::make_unique<xml::Document>();
    document->load(file, options);
    return document;
}

}  // namespace mirvane::core
