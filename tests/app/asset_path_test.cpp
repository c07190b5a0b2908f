// Resolving stored references: backslashes, case-insensitive names, absolute references.
#include "app/asset_path.h"
#include "test_dir.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(AssetPath, AbsoluteReferences) {
    EXPECT_TRUE(IsAbsoluteReference("C:\\Music\\song.mp3"));
    EXPECT_TRUE(IsAbsoluteReference("http://example.org/a.swf"));
    EXPECT_TRUE(IsAbsoluteReference("/home/ann/song.mp3"));
    EXPECT_FALSE(IsAbsoluteReference("Music\\song.mp3"));
    EXPECT_FALSE(IsAbsoluteReference(""));
    EXPECT_EQ(ResolveReference("/root", "C:\\Music\\song.mp3"), "C:\\Music\\song.mp3");
    EXPECT_EQ(ResolveReference("/root", "/home/ann/song.mp3"), "/home/ann/song.mp3");
}

TEST(AssetPath, FindsNamesWithoutRegardToCase) {
    const auto root = test::FreshDir();
    test::Touch(root / "Background" / "Flower.JPG");
    test::Touch(root / "font" / "Sans.fdb");
    EXPECT_EQ(ResolveReference(root, "Background\\Flower.jpg"), root / "Background" / "Flower.JPG");
    EXPECT_EQ(ResolveReference(root, "background\\FLOWER.jpg"), root / "Background" / "Flower.JPG");
    EXPECT_EQ(ResolveReference(root, "Font/Sans.fdb"), root / "font" / "Sans.fdb");
    // A missing file keeps its written name, so the caller can say what it looked for.
    EXPECT_EQ(ResolveReference(root, "Background\\Missing.jpg"), root / "Background" / "Missing.jpg");
    EXPECT_EQ(ResolveReference(root, "Nowhere\\x.png"), root / "Nowhere" / "x.png");
}

TEST(AssetPath, ExactNameWinsOverOthersDifferingInCase) {
    const auto root = test::FreshDir();
    test::Touch(root / "Button" / "a.png", "lower");
    test::Touch(root / "Button" / "A.png", "upper");
    EXPECT_EQ(ResolveReference(root, "Button\\A.png"), root / "Button" / "A.png");
    EXPECT_EQ(ResolveReference(root, "Button\\a.png"), root / "Button" / "a.png");
}

} // namespace
} // namespace app
