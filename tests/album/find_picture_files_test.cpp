#include "album/find_picture_files.h"

#include "album_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace album {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

std::vector<std::string> Relative(const std::vector<fs::path>& paths, const fs::path& base) {
    std::vector<std::string> names;
    for (const fs::path& p : paths) {
        names.push_back(fs::relative(p, base).generic_string());
    }
    return names;
}

TEST(FindPictureFiles, TakesTheAlbumKindsWithoutRegardToCase) {
    const fs::path folder = test::FreshFolder();
    for (const char* name : {"a.jpg", "b.Png", "c.GIF", "d.jpeg", "e.tif", "f.BMP", "g.wmf", "noext",
                             "h.jpg.txt", ".JPG", "i.gif.jpg"}) {
        Touch(folder / name);
    }
    std::vector<fs::path> files;
    FindPictureFiles(folder, &files, nullptr, kAlbumExtensions, "", {}, {});
    EXPECT_EQ(Relative(files, folder),
              (std::vector<std::string>{".JPG", "a.jpg", "b.Png", "c.GIF", "f.BMP", "g.wmf", "i.gif.jpg"}));

    // "*.*" takes every name with a dot.
    files.clear();
    FindPictureFiles(folder, &files, nullptr, "*.*", "", {}, {});
    EXPECT_EQ(files.size(), 10u);
    EXPECT_FALSE(MatchesExtensionList("noext", "*.*"));
    EXPECT_TRUE(MatchesExtensionList("x.Tif", "*.JPG;*.TIF"));
    EXPECT_FALSE(MatchesExtensionList("x.tiff", "*.JPG;*.TIF"));
}

TEST(FindPictureFiles, OwnPicturesBeforeSubfoldersDepthFirstByName) {
    const fs::path folder = test::FreshFolder();
    for (const char* name : {"z.jpg", "b/y.jpg", "b/a/x.jpg", "b/c.jpg", "a/w.jpg", "a.jpg", "c/d/e/v.png"}) {
        Touch(folder / name);
    }
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
    std::vector<std::string> events;
    FindPictureFiles(
        folder, &files, &folders, kAlbumExtensions, "",
        [&](const fs::path& p) { events.push_back("file " + fs::relative(p, folder).generic_string()); },
        [&](const fs::path& p) { events.push_back("folder " + fs::relative(p, folder).generic_string()); });
    EXPECT_EQ(Relative(files, folder), (std::vector<std::string>{"a.jpg", "z.jpg", "a/w.jpg", "b/c.jpg",
                                                                 "b/y.jpg", "b/a/x.jpg", "c/d/e/v.png"}));
    EXPECT_EQ(Relative(folders, folder), (std::vector<std::string>{"a", "b", "b/a", "c", "c/d", "c/d/e"}));
    // Each file is announced before it is listed; each folder is listed, announced, then scanned.
    EXPECT_EQ(events,
              (std::vector<std::string>{"file a.jpg", "file z.jpg", "folder a", "file a/w.jpg", "folder b",
                                        "file b/c.jpg", "file b/y.jpg", "folder b/a", "file b/a/x.jpg",
                                        "folder c", "folder c/d", "folder c/d/e", "file c/d/e/v.png"}));
}

TEST(FindPictureFiles, MissingFolderAndLinkLoopsEndQuietly) {
    const fs::path folder = test::FreshFolder();
    std::vector<fs::path> files;
    FindPictureFiles(folder / "missing", &files, nullptr, kAlbumExtensions, "", {}, {});
    EXPECT_TRUE(files.empty());

    Touch(folder / "sub" / "p.jpg");
    fs::create_directory_symlink(folder, folder / "sub" / "loop");
    FindPictureFiles(folder, &files, nullptr, kAlbumExtensions, "", {}, {});
    EXPECT_EQ(Relative(files, folder), (std::vector<std::string>{"sub/p.jpg"}));
}

} // namespace
} // namespace album
