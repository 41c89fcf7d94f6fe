#include "core/chosen_file.h"

#include <gtest/gtest.h>

#include "support/testing.h"

namespace mirvane::core {
namespace {

TEST(ChosenFileExists, OnlyForAFile) {
    testing::TempDir dir;
    testing::writeFile(dir / "datos.xml", "<SERVICIO/>");
    EXPECT_TRUE(chosenFileExists(dir / "datos.xml"));
    EXPECT_FALSE(chosenFileExists(dir / "otro.xml"));
    EXPECT_FALSE(chosenFileExists(dir.path()));  // a folder is not a file
    EXPECT_FALSE(chosenFileExists({}));          // a dialog cancelled at first use
}

}  // namespace
}  // namespace mirvane::core
