#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace mirvane::report {

// Whether `page` holds the texts in this order.
inline ::testing::AssertionResult inOrder(const std::string& page,
                                          const std::vector<std::string>& texts) {
    std::size_t at = 0;
    for (const std::string& text : texts) {
        const std::size_t found = page.find(text, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "no \"" << text << "\" after position " << at;
        at = found + text.size();
    }
    return ::testing::AssertionSuccess();
}

}  // namespace mirvane::report
