#include "core/run_common.h"

#include <gtest/gtest.h>

#include "base/error.h"
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

TEST(LoadDocument, GivesTheWholeDocumentOrTheParsersError) {
    testing::TempDir dir;
    testing::writeFile(dir / "datos.xml", "<SERVICIO><SALIDAS/></SERVICIO>");
    EXPECT_EQ(loadDocument(dir / "datos.xml")->documentElement().name(), "SERVICIO");
    testing::writeFile(dir / "roto.xml", "<SERVICIO><SALIDAS></SERVICIO>");
    EXPECT_THROW(loadDocument(dir / "roto.xml"), Error);
}

}  // namespace
}  // namespace mirvane::core
