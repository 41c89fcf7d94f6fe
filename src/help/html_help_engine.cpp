#include "help/html_help_engine.h"

#include <utility>

namespace mirvane::help {

HtmlHelpEngine::~HtmlHelpEngine() {
    unload();
}

HtmlHelpEngine::HtmlHelpEngine(HtmlHelpEngine&& other) noexcept
    : library_(std::exchange(other.library_, nullptr)),
      entry_(std::exchange(other.entry_, nullptr)) {}

HtmlHelpEngine& HtmlHelpEngine::operator=(HtmlHelpEngine&& other) noexcept {
    if (this != &other) {
        unload();
        library_ = std::exchange(other.library_, nullptr);
        entry_ = std::exchange(other.entry_, nullptr);
    }
    return *this;
}

void HtmlHelpEngine::unload() {
    entry_ = nullptr;
    if (library_) unloadLibrary(std::exchange(library_, nullptr));
}

}  // namespace mirvane::help
