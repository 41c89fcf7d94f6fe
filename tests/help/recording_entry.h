#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "help/html_help_engine.h"

// An HTML Help entry that records every call instead of showing help.
namespace mirvane::help::testing {

struct HtmlHelpCall {
    std::uintptr_t owner = 0;
    std::optional<std::string> file;  // none when the call carried no file
    unsigned command = 0;
    std::uintptr_t data = 0;
    std::string keyword;  // HH_DISPLAY_INDEX: the text its data points to

    bool operator==(const HtmlHelpCall&) const = default;
};

inline std::vector<HtmlHelpCall>& recordedCalls() {
    static std::vector<HtmlHelpCall> calls;
    return calls;
}

inline void* MIRVANE_HTML_HELP_CALL recordCall(std::uintptr_t owner, const char* file,
                                               unsigned command, std::uintptr_t data) {
    HtmlHelpCall call{owner, file ? std::optional<std::string>(file) : std::nullopt, command, data,
                      ""};
    if (command == HH_DISPLAY_INDEX) {
        call.keyword = reinterpret_cast<const char*>(data);
        call.data = 0;  // the pointer itself means nothing once the call is over
    }
    recordedCalls().push_back(call);
    return nullptr;
}

// A call as the tests expect it: owner 0 (the help manager reports none).
inline HtmlHelpCall sent(unsigned command, std::string file, std::uintptr_t data = 0) {
    return {0, std::move(file), command, data, ""};
}

// HH_CLOSE_ALL as it must go: no owner, no file, no data.
inline HtmlHelpCall closedAll() {
    return {0, std::nullopt, HH_CLOSE_ALL, 0, ""};
}

inline HtmlHelpCall sentKeyword(std::string file, std::string keyword) {
    return {0, std::move(file), HH_DISPLAY_INDEX, 0, std::move(keyword)};
}

}  // namespace mirvane::help::testing
