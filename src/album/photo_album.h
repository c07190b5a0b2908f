// The photo album: a slide-show movie of every picture in a folder and its subfolders. Each picture,
// fitted into 640 x 480, is centred on a dark stage, fades in over 20 frames, stays for 40 and fades out
// over 20; a click pauses and resumes the show.
//
// Pictures are streamed into the movie: each is converted, written into the movie's tag spool and let
// go before the next, so memory does not grow with the number of pictures.
#pragma once

#include "album/streamed_movie.h"
#include "imaging/size.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace album {

inline constexpr int kStageWidth = 640;
inline constexpr int kStageHeight = 480;
inline constexpr int kFadeFrames = 20;
inline constexpr int kHoldFrames = 40;
inline constexpr int kFramesPerPicture = 2 * kFadeFrames + kHoldFrames;
// A movie holds at most 65535 frames: the script frame, the final frame and 80 per picture.
inline constexpr int kMaxPictures = (0xFFFF - 2) / kFramesPerPicture;

// The alpha multiplier of fade-in frame k (1..20) and fade-out frame k (1..20), computed in single
// precision as the quadratic easing curves.
float FadeInAlpha(int k);
float FadeOutAlpha(int k);

// Where a picture of size w x h is placed: centred on the stage (halves rounded toward zero).
struct Position {
    int x = 0;
    int y = 0;
    friend bool operator==(const Position&, const Position&) = default;
};
Position CentredPosition(imaging::Size size);

struct AlbumOutcome {
    int pictures = 0;                              // pictures in the movie
    int frames = 0;                                // frames of the movie
    std::vector<std::filesystem::path> unreadable; // pictures skipped because they could not be read
    std::vector<std::filesystem::path> leftOut;    // pictures beyond what one movie can hold
    std::vector<std::string> messages;             // everything to tell the user at the end, in order
};

// Called before each picture is added: its number (from 1), the number found so far at the time of the
// scan's end (the total), and its path.
using AlbumProgress = std::function<void(int number, int total, const std::filesystem::path& picture)>;

// Builds the album of the pictures in `folder` (see FindPictureFiles for the order) into `albumPath`,
// written beside it and renamed over it, compressed at level 9. The converted JPEGs are written beside
// their sources as source + ".jpg" (or into `tempFolder` where the folder cannot be written) and deleted
// at the end; a failed deletion adds "delete<path>.jpg failed" to the messages. Throws swf::Error when
// the album file cannot be written (no file is then left at `albumPath` that was not there before).
// A stop requested through `stop` ends the build before the next picture with AlbumCancelled, leaving
// neither the album nor any converted picture behind.
AlbumOutcome CreatePhotoAlbum(const std::filesystem::path& folder, const std::filesystem::path& albumPath,
                              const std::filesystem::path& tempFolder, const AlbumProgress& progress = {},
                              std::stop_token stop = {});

// The build was stopped on request.
class AlbumCancelled : public std::runtime_error {
public:
    AlbumCancelled() : std::runtime_error("the photo album was cancelled") {}
};

// The movie under construction; one AddAlbumPicture per picture, in order.
class PhotoAlbumMovie {
public:
    PhotoAlbumMovie(const std::filesystem::path& albumPath, std::filesystem::path tempFolder);

    // Converts the picture, adds its 80 frames and returns true; false (adding nothing) when the picture
    // cannot be read (or, where a file of the converted picture's name exists already, no link to it can
    // be made in the temp folder). The converted file, when one was written, is remembered for
    // DeleteConvertedFiles.
    bool AddAlbumPicture(const std::filesystem::path& path);
    // Ends the last frame and writes the file.
    void Finish();
    // Deletes the converted files; returns the messages of those that could not be deleted.
    std::vector<std::string> DeleteConvertedFiles();

    int PictureCount() const { return m_pictures; }
    int FrameCount() const { return m_movie.FrameCount(); }

private:
    // The path to convert: the picture itself, or, when `path` + ".jpg" already exists (a file of the
    // user's, perhaps another picture of the album), a link to it in the temp folder, so that the
    // conversion neither overwrites nor later deletes that file. nullopt when no link can be made.
    std::optional<std::filesystem::path> ConversionSource(const std::filesystem::path& path);
    void RemoveShownPicture();

    StreamedMovie m_movie;
    std::filesystem::path m_tempFolder;
    std::vector<std::filesystem::path> m_converted;
    int m_pictures = 0;
    int m_links = 0;
    swf::Depth m_shownDepth = 0; // the picture to remove at the start of the next frame, 0 for none
};

} // namespace album
