#pragma once

#include <cstdint>

// The operating system's HTML Help engine, bound at run time: the library
// "HHCtrl.ocx" and its function "HtmlHelpA". Without either, there is no
// entry: help requests are accepted and nothing is shown.
namespace mirvane::help {

#if defined(_WIN32)
#define MIRVANE_HTML_HELP_CALL __stdcall
#else
#define MIRVANE_HTML_HELP_CALL
#endif

// HtmlHelpA(owner window, file text, command, data); the result is ignored.
using HtmlHelpEntry = void*(MIRVANE_HTML_HELP_CALL*)(std::uintptr_t owner, const char* file,
                                                     unsigned command, std::uintptr_t data);

// The commands, by their published names and values.
inline constexpr unsigned HH_DISPLAY_TOPIC = 0;
inline constexpr unsigned HH_DISPLAY_TOC = 1;
inline constexpr unsigned HH_DISPLAY_INDEX = 2;
inline constexpr unsigned HH_HELP_CONTEXT = 15;
inline constexpr unsigned HH_CLOSE_ALL = 18;
inline constexpr unsigned HH_GET_LAST_ERROR = 20;

// Owns the loaded library for as long as its entry may be called.
class HtmlHelpEngine {
  public:
    // Loads "HHCtrl.ocx" and looks up "HtmlHelpA"; on systems without HTML
    // Help (and when either is missing) the engine has no entry.
    static HtmlHelpEngine load();

    // An engine whose entry the caller provides (or none).
    explicit HtmlHelpEngine(HtmlHelpEntry entry = nullptr) : entry_(entry) {}
    ~HtmlHelpEngine();
    HtmlHelpEngine(HtmlHelpEngine&& other) noexcept;
    HtmlHelpEngine& operator=(HtmlHelpEngine&& other) noexcept;
    HtmlHelpEngine(const HtmlHelpEngine&) = delete;
    HtmlHelpEngine& operator=(const HtmlHelpEngine&) = delete;

    HtmlHelpEntry entry() const { return entry_; }

  private:
    HtmlHelpEngine(void* library, HtmlHelpEntry entry) : library_(library), entry_(entry) {}
    void unload();
    static void unloadLibrary(void* library);  // the platform's side

    void* library_ = nullptr;  // the module handle, when this engine loaded it
    HtmlHelpEntry entry_ = nullptr;
};

}  // namespace mirvane::help
