// The background of a card: a colour rectangle over the whole stage, then a Flash clip or a picture.
#include "app/asset_path.h"
#include "movie/gift_builder.h"
#include "movie/gift_generation.h"
#include "movie/gift_messages.h"
#include "movie/gift_shapes.h"
#include "movie/picture_layout.h"
#include "swf/error.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace movie {

namespace fs = std::filesystem;

void GiftBuilder::AddBackground(GiftGeneration& gen, const model::CCardInfo& card, int cardIndex,
                                int forceConvert, Rgb& colour) {
    const model::ProjectSettings& s = m_project.settings;
    const bool projectBg = card.m_bProjectBg == 1;
    const std::string& ref = projectBg ? s.m_strBackground : card.m_strBackground;
    const int placement = projectBg ? s.m_nBgAlign : card.m_nBgAlign;
    const bool hasHash = ref.find('#') != std::string::npos;
    const fs::path path = hasHash ? fs::path(ref) : ResolveAsset(ref);
    const std::string lowered = Lowered(path.string());
    const bool isClip = EndsWith(lowered, ".swf");

    colour = Rgb{};
    if (hasHash) {
        ReadColour(lowered, colour);
    }

    Step(app::reasons::kDrawColorBackground, [&] {
        swf::DisplayItem item = gen.movie.add(ColourRectangle(gen.W, gen.H, colour, 255));
        item.move_to(0, 0);
        gen.cardItems.push_back(item);
    });

    std::error_code ec;
    if (isClip) {
        if (!fs::exists(path, ec)) {
            return;
        }
        std::shared_ptr<swf::PrebuiltClip> clip;
        StepWithTip(TipBackgroundClip(path.string()), [&] { clip = swf::PrebuiltClip::from_file(path); });
        if (clip) {
            Step(app::reasons::kAddSwfFile, [&] {
                swf::DisplayItem item = gen.movie.add(clip);
                item.move_to(0, 0);
                gen.cardItems.push_back(item);
            });
        }
        return;
    }
    if (hasHash || !fs::exists(path, ec)) {
        return; // a colour, or a picture that is not there: no message
    }

    std::shared_ptr<const swf::Bitmap> bitmap;
    StepWithTip(TipLoadingPicture(path.string()), [&] {
        // Another builder may be converting another picture into the same Temp file meanwhile.
        const auto temp = LockTemp();
        // A DBL picture is already what the movie holds; every other picture becomes a JPEG.
        const std::string converted =
            EndsWith(lowered, ".dbl") ? path.string()
                                      : ConvertPictureToJpeg(path, cardIndex, card.m_nBgAlign, forceConvert);
        if (!converted.empty()) {
            bitmap = ReadBitmap(converted);
        }
    });
    if (!bitmap) {
        return;
    }
    Step(app::reasons::kDrawBackgroundColor, [&] {
        const PicturePlacement at =
            PlacePicture(bitmap->width(), bitmap->height(), int(gen.W), int(gen.H), placement);
        const auto kind =
            at.fill_flags == kTiledBitmapFill ? swf::BitmapFillKind::Tiled : swf::BitmapFillKind::Clipped;
        auto shape = FilledRectangle(at.width, at.height,
                                     [&](swf::Shape& sh) { return sh.add_bitmap_fill(bitmap, kind); });
        swf::DisplayItem item = gen.movie.add(shape);
        item.move_to(at.x, at.y);
        gen.cardItems.push_back(item);
    });
}

} // namespace movie
