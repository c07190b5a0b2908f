#include "album/photo_album.h"

#include "album/album_script.h"
#include "album/find_picture_files.h"
#include "imaging/convert.h"
#include "imaging/error.h"
#include "swf/as/compiler.h"
#include "swf/dbl.h"
#include "swf/error.h"
#include "swf/file_bytes.h"
#include "swf/jpeg_info.h"
#include "swf/shape.h"
#include "swf/writer.h"

#include <optional>
#include <system_error>

namespace album {

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The bitmap definition of a converted picture (id unset) with its size; nullopt when the file is
// neither a JPEG (".jpg") nor a DBL bitmap (".dbl") or cannot be read as one.
struct BitmapData {
    swf::Tag tag;
    int width = 0;
    int height = 0;
};

std::optional<BitmapData> ReadBitmap(const fs::path& file, swf::CharacterId id) {
    const std::string name = file.filename().string();
    try {
        if (EndsWith(name, ".jpg")) {
            std::vector<uint8_t> jpeg = swf::detail::read_file_bytes(file, "JPEG picture");
            const swf::detail::JpegSize size = swf::detail::jpeg_size(jpeg);
            return BitmapData{swf::DefineBitsJpeg2{id, std::move(jpeg)}, size.width, size.height};
        }
        if (EndsWith(name, ".dbl")) {
            swf::DefineBitsLossless dbl = swf::read_dbl(swf::detail::read_file_bytes(file, "DBL bitmap"));
            dbl.id = id;
            const int width = dbl.width;
            const int height = dbl.height;
            return BitmapData{std::move(dbl), width, height};
        }
    } catch (const swf::Error&) {
    }
    return std::nullopt;
}

// A rectangle of the bitmap's size filled with the bitmap once, as the movie library draws a bitmap.
swf::DefineShape3 BitmapRectangle(swf::CharacterId shapeId, swf::CharacterId bitmapId, int width,
                                  int height) {
    // The library's own shape gives the geometry; the placeholder bitmap only lends its size.
    auto placeholder = std::make_shared<swf::Bitmap>(swf::DefineBitsJpeg2{}, width, height);
    swf::Shape shape;
    shape.set_right_fill(shape.add_bitmap_fill(placeholder, swf::BitmapFillKind::Clipped));
    shape.move_pen_to(0, 0);
    shape.draw_line(width, 0);
    shape.draw_line(0, height);
    shape.draw_line(-width, 0);
    shape.draw_line(0, -height);
    shape.end();
    swf::DefineShape3 tag;
    tag.id = shapeId;
    tag.bounds = shape.bounds();
    tag.fill_styles = shape.fill_styles();
    std::get<swf::BitmapFill>(tag.fill_styles.at(0)).bitmap_id = bitmapId;
    tag.records = shape.records();
    return tag;
}

swf::ColorTransform Alpha(float alpha) {
    return swf::ColorTransform::multiply(1.0f, 1.0f, 1.0f, alpha);
}

swf::Rect Stage() {
    return swf::Rect{swf::Twips{0}, swf::Twips::from_pixels(kStageWidth), swf::Twips{0},
                     swf::Twips::from_pixels(kStageHeight)};
}

} // namespace

float FadeInAlpha(int k) {
    // Quadratic easing in: c * t * t + b with b = 0, c = 1.
    const float t = static_cast<float>(k) / static_cast<float>(kFadeFrames);
    const float b = 0.0f;
    const float c = 1.0f;
    return c * t * t + b;
}

float FadeOutAlpha(int k) {
    // Quadratic easing out: -c * t * (t - 2) + b with b = 1, c = -1.
    const float t = static_cast<float>(k) / static_cast<float>(kFadeFrames);
    const float b = 1.0f;
    const float c = -1.0f;
    return -c * t * (t - 2.0f) + b;
}

Position CentredPosition(imaging::Size size) {
    return {kStageWidth / 2 - size.width / 2, kStageHeight / 2 - size.height / 2};
}

PhotoAlbumMovie::PhotoAlbumMovie(const fs::path& albumPath, fs::path tempFolder)
    : m_movie(albumPath, 6, Stage(), swf::frame_rate_fixed(33.0)), m_tempFolder(std::move(tempFolder)) {
    m_movie.Append(swf::SetBackgroundColor{swf::Rgba{33, 33, 33, 255}});
    const auto script = swf::as::compile(AlbumPauseScript());
    if (!script) {
        throw swf::Error("the album's pause script does not compile");
    }
    m_movie.Append(swf::DoAction{*script});
    m_movie.Append(swf::ShowFrame{});
}

void PhotoAlbumMovie::RemoveShownPicture() {
    if (m_shownDepth != 0) {
        m_movie.Append(swf::RemoveObject2{m_shownDepth});
        m_shownDepth = 0;
    }
}

std::optional<fs::path> PhotoAlbumMovie::ConversionSource(const fs::path& path) {
    fs::path beside = path;
    beside += ".jpg";
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(beside, ec))) {
        return path;
    }
    if (m_tempFolder.empty()) {
        return std::nullopt;
    }
    fs::create_directories(m_tempFolder, ec);
    const fs::path link =
        m_tempFolder / ("album-" + std::to_string(++m_links) + "-" + path.filename().string());
    fs::remove(link, ec);
    const fs::path target = fs::absolute(path, ec);
    if (ec) {
        return std::nullopt;
    }
    fs::create_symlink(target, link, ec);
    return ec ? std::nullopt : std::optional<fs::path>(link);
}

bool PhotoAlbumMovie::AddAlbumPicture(const fs::path& path) {
    const std::optional<fs::path> source = ConversionSource(path);
    if (!source) {
        return false;
    }
    // A link made for the conversion goes as soon as the picture's bytes are read.
    struct LinkRemover {
        const fs::path* link;
        ~LinkRemover() {
            if (link) {
                std::error_code ignored;
                fs::remove(*link, ignored);
            }
        }
    } linkRemover{*source != path ? &*source : nullptr};

    imaging::AlbumPicture picture;
    try {
        picture = imaging::ConvertAlbumPicture(*source, kStageWidth, kStageHeight, m_tempFolder);
    } catch (const imaging::Error&) {
        return false;
    }
    if (picture.converted) {
        m_converted.push_back(picture.file);
    }
    const swf::CharacterId bitmapId = m_movie.AllocateId();
    std::optional<BitmapData> bitmap = ReadBitmap(picture.file, bitmapId);
    if (!bitmap) {
        return false;
    }
    const swf::CharacterId shapeId = m_movie.AllocateId();
    const auto depth = static_cast<swf::Depth>(m_pictures + 1);
    const Position at = CentredPosition(picture.size);

    // The first fade-in frame defines the picture and places it; the bitmap's bytes go to the spool here
    // and are not kept.
    RemoveShownPicture();
    m_movie.Append(bitmap->tag);
    bitmap.reset();
    m_movie.Append(BitmapRectangle(shapeId, bitmapId, picture.size.width, picture.size.height));
    swf::PlaceObject2 place;
    place.depth = depth;
    place.character_id = shapeId;
    place.matrix = swf::Matrix::translate(swf::Twips::from_pixels(at.x), swf::Twips::from_pixels(at.y));
    place.color_transform = Alpha(FadeInAlpha(1));
    m_movie.Append(place);
    m_movie.Append(swf::ShowFrame{});

    const auto fade = [&](float alpha) {
        swf::PlaceObject2 move;
        move.depth = depth;
        move.is_move = true;
        move.color_transform = Alpha(alpha);
        m_movie.Append(move);
        m_movie.Append(swf::ShowFrame{});
    };
    for (int k = 2; k <= kFadeFrames; ++k) {
        fade(FadeInAlpha(k));
    }
    for (int i = 0; i < kHoldFrames; ++i) {
        m_movie.Append(swf::ShowFrame{});
    }
    for (int k = 1; k <= kFadeFrames; ++k) {
        fade(FadeOutAlpha(k));
    }
    m_shownDepth = depth;
    ++m_pictures;
    return true;
}

void PhotoAlbumMovie::Finish() {
    RemoveShownPicture();
    m_movie.Append(swf::ShowFrame{});
    m_movie.Finish(9);
}

std::vector<std::string> PhotoAlbumMovie::DeleteConvertedFiles() {
    std::vector<std::string> messages;
    for (const fs::path& file : m_converted) {
        std::error_code error;
        if (!fs::remove(file, error) || error) {
            messages.push_back("delete" + file.string() + " failed");
        }
    }
    m_converted.clear();
    return messages;
}

AlbumOutcome CreatePhotoAlbum(const fs::path& folder, const fs::path& albumPath, const fs::path& tempFolder,
                              const AlbumProgress& progress, std::stop_token stop) {
    // The scan comes first so that progress can tell the total; the order is the scan's.
    std::vector<fs::path> pictures;
    FindPictureFiles(folder, &pictures, nullptr, kAlbumExtensions, "", {}, {});

    AlbumOutcome outcome;
    PhotoAlbumMovie movie(albumPath, tempFolder);
    const int total = static_cast<int>(pictures.size());
    try {
        for (int i = 0; i < total; ++i) {
            if (stop.stop_requested()) {
                throw AlbumCancelled();
            }
            const fs::path& picture = pictures[static_cast<size_t>(i)];
            if (movie.PictureCount() >= kMaxPictures) {
                outcome.leftOut.push_back(picture);
                continue;
            }
            if (progress) {
                progress(i + 1, total, picture);
            }
            if (!movie.AddAlbumPicture(picture)) {
                outcome.unreadable.push_back(picture);
            }
        }
        if (stop.stop_requested()) {
            throw AlbumCancelled();
        }
        movie.Finish();
    } catch (...) {
        movie.DeleteConvertedFiles();
        throw;
    }
    outcome.pictures = movie.PictureCount();
    outcome.frames = movie.FrameCount();
    outcome.messages = movie.DeleteConvertedFiles();
    for (const fs::path& picture : outcome.unreadable) {
        outcome.messages.push_back("cannot read the picture " + picture.string() + ", skipped");
    }
    if (!outcome.leftOut.empty()) {
        outcome.messages.push_back(std::to_string(outcome.leftOut.size()) +
                                   " pictures left out: one movie holds at most " +
                                   std::to_string(kMaxPictures) + " pictures (65535 frames), the first was " +
                                   outcome.leftOut.front().string());
    }
    return outcome;
}

} // namespace album
