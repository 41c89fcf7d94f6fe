#include "help/html_help_engine.h"

#include <windows.h>

namespace mirvane::help {

HtmlHelpEngine HtmlHelpEngine::load() {
    HMODULE library = ::LoadLibraryA("HHCtrl.ocx");
    if (!library) return HtmlHelpEngine();
    auto entry = reinterpret_cast<HtmlHelpEntry>(
        reinterpret_cast<void*>(::GetProcAddress(library, "HtmlHelpA")));
    // Without the function the library is kept until the engine goes, as
    // when it is found; requests are accepted and show nothing.
    return HtmlHelpEngine(library, entry);
}

void HtmlHelpEngine::unloadLibrary(void* library) {
    ::FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace mirvane::help
