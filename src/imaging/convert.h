// The two conversions the movie builders make before a picture enters a movie: a card background or
// button face becomes a JPEG at the project's quality, an album picture a JPEG that fits the album stage.
#pragma once

#include "imaging/size.h"

#include <filesystem>
#include <string>

namespace imaging {

// Placement codes of a picture: 0..8 the anchor grid, 9 tiled, 10 stretched, 11 stretched keeping the
// width:height ratio; -1 marks a button face.
inline constexpr int kButtonFace = -1;
inline constexpr int kStretch = 10;
inline constexpr int kStretchKeepRatio = 11;

// Converts `source` into the JPEG `target` for a picture of placement code `placementCode` on a stage of
// stageWidth x stageHeight, at `quality` (0..100):
// - when `target` exists and `force` is false, nothing is converted and `target` is returned;
// - codes up to 9 and -1 keep a picture of at most 2400 x 2000 at its size; larger pictures and codes 10
//   and 11 are scaled (cubic) to the stage size, except that code 11 scales a picture smaller than
//   1200 x 1000 by FitKeepingRatio.
// - with `keepTransparency`, a picture with transparent pixels is written instead as a lossless PNG beside
//   the target (TransparentTarget), so a movie can keep its alpha; an existing one of the two is reused
//   when `force` is false.
// Returns the path written, or "" when it could not be written. Throws imaging::Error when the source
// cannot be read as a picture.
std::string ConvertPictureToJpeg(const std::filesystem::path& source, const std::filesystem::path& target,
                                 int placementCode, bool force, int stageWidth, int stageHeight, int quality,
                                 bool keepTransparency = false);

// Where a transparent picture converted for `target` goes: the same name ending in .png.
std::filesystem::path TransparentTarget(const std::filesystem::path& target);

struct AlbumPicture {
    std::filesystem::path file; // the JPEG to put into the movie, or the source itself (see below)
    Size size;                  // the size of `file`'s picture
    bool converted = false;     // true when `file` is a JPEG this call wrote (the caller deletes it)
};

// Fits the picture `source` into maxWidth x maxHeight with FitInsideBox (bicubic when it shrinks, pixels
// unchanged otherwise) and saves it as a JPEG of quality 100 to source + ".jpg" (a.png -> a.png.jpg).
// When that folder cannot be written, the JPEG goes into `fallbackFolder` instead, under a name made
// unique per source path. When no JPEG can be written at all, `file` is the source itself with its own
// size and `converted` false. Large JPEGs are decoded at a reduced size. Throws imaging::Error when the
// source cannot be read as a picture.
AlbumPicture ConvertAlbumPicture(const std::filesystem::path& source, int maxWidth, int maxHeight,
                                 const std::filesystem::path& fallbackFolder);

} // namespace imaging
