// A program whose picture module cannot be found reports an imaging error, it does not abort. Its own
// program: the module is loaded once per process, so nothing else may touch a picture before this.
#include "imaging/backend.h"
#include "imaging/picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace imaging {
namespace {

TEST(PictureModule, MissingModuleIsAnImagingError) {
    ASSERT_EQ(::setenv("CARDWRIGHT_IMAGING_MODULE", "/nonexistent/cardwright-imaging.so", 1), 0);
    EXPECT_EQ(BackendCandidates(), std::vector<std::filesystem::path>{"/nonexistent/cardwright-imaging.so"});
    const std::vector<uint8_t> bytes{0x89, 'P', 'N', 'G'};
    try {
        (void)Picture::LoadFromBuffer(bytes);
        FAIL() << "a picture loaded without its module";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("picture library could not be loaded"), std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("/nonexistent/cardwright-imaging.so"), std::string::npos);
    }
    // The failure is remembered, not retried into a crash.
    EXPECT_THROW((void)Picture::LoadFromBuffer(bytes), Error);
}

TEST(PictureModule, BuildTreeAndInstallPlacesAreTried) {
    ::unsetenv("CARDWRIGHT_IMAGING_MODULE");
    const std::vector<std::filesystem::path> places = BackendCandidates();
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].filename(), "cardwright-imaging.so");
    EXPECT_EQ(places[0].parent_path().filename(), "cardwright"); // <prefix>/lib.../cardwright
    EXPECT_TRUE(std::filesystem::exists(places[2])) << places[2];
}

} // namespace
} // namespace imaging
