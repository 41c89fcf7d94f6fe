#include "help/html_help_engine.h"

// There is no HTML Help engine outside Windows: help requests show nothing.
namespace mirvane::help {

HtmlHelpEngine HtmlHelpEngine::load() {
    return HtmlHelpEngine();
}

void HtmlHelpEngine::unloadLibrary(void*) {}

}  // namespace mirvane::help
