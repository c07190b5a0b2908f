// The link buttons of a card: shared faces in the project's button style, captions, scripts, and the
// row along the bottom of the stage.
#include "app/asset_path.h"
#include "movie/gift_builder.h"
#include "movie/gift_generation.h"
#include "movie/gift_layout.h"
#include "movie/gift_messages.h"
#include "movie/gift_scripts.h"
#include "movie/gift_shapes.h"
#include "movie/picture_layout.h"
#include "swf/as/compiler.h"
#include "swf/error.h"

#include <system_error>

namespace movie {

namespace fs = std::filesystem;

namespace {

enum class FaceKind { Colour, Clip, Picture };

struct ButtonStyle {
    FaceKind kind = FaceKind::Colour;
    fs::path path;       // the resolved file of a clip or picture style
    std::string lowered; // the resolved style in small letters
};

} // namespace

void GiftBuilder::AddLinks(GiftGeneration& gen, const model::CCardInfo& card, int cardIndex) {
    model::ProjectSettings& s = m_project.settings;
    int x = kFirstButtonX;
    for (const std::unique_ptr<model::CLinkInfo>& entry : card.m_pLinks->m_pLinkList) {
        if (!entry) {
            continue;
        }
        const model::CLinkInfo& link = *entry;

        // The style is read anew for every link: a failing clip face switches the project to a colour.
        ButtonStyle style;
        const bool hasHash = s.m_strButton.find('#') != std::string::npos;
        style.path = hasHash ? fs::path(s.m_strButton) : ResolveAsset(s.m_strButton);
        style.lowered = Lowered(style.path.string());
        style.kind = hasHash                           ? FaceKind::Colour
                     : EndsWith(style.lowered, ".swf") ? FaceKind::Clip
                                                       : FaceKind::Picture;
        std::error_code ec;

        // 1. Caption.
        std::shared_ptr<swf::Text> caption;
        double captionWidth = 0;
        Step(app::reasons::kLinkTitle, [&] {
            if (!m_bodyFont) {
                throw swf::Error("the gift's fonts are not loaded");
            }
            Rgb textColour{0, 0, 0};
            ReadColour(s.m_strButtonTextColor, textColour);
            caption = std::make_shared<swf::Text>();
            caption->set_font(m_bodyFont);
            caption->set_color(Opaque(textColour));
            caption->set_height(14);
            caption->add_string(link.m_strTitle);
            TipMissingCharacter(gen, *caption, link.m_strTitle);
            captionWidth = caption->string_width(link.m_strTitle);
        });

        // 2. Face.
        std::shared_ptr<swf::PrebuiltClip> clip;
        if (style.kind == FaceKind::Colour) {
            Step(app::reasons::kLinkColor, [&] {
                if (!gen.normalFace) {
                    Rgb colour;
                    ReadColour(style.lowered, colour);
                    gen.normalFace = ColourRectangle(60, 30, colour, 255);
                    gen.overFace = ColourRectangle(60, 30, OverFaceColour(colour), 255);
                }
            });
        } else if (style.kind == FaceKind::Clip) {
            if (fs::exists(style.path, ec)) {
                try {
                    clip = swf::PrebuiltClip::from_file(style.path);
                } catch (const std::exception&) {
                    try {
                        clip = swf::PrebuiltClip::from_file(style.path);
                    } catch (const std::exception&) {
                        const std::string shown = s.m_strButton;
                        s.m_strButton = "#FFFFFF";
                        m_reporter.tip(TipButtonClip(shown));
                    }
                }
                if (clip) {
                    Step(app::reasons::kAddButton, [&] {
                        swf::DisplayItem item = gen.movie.add(clip);
                        gen.linkItems.push_back(item);
                        item.move_to(x, gen.H - 50);
                    });
                }
            }
        } else if (!gen.pictureFaceTried) {
            gen.pictureFaceTried = true;
            MakeButtonFace(gen, cardIndex);
        }
        if (gen.buttonWidth == -1.0f) { // colour and clip faces, and a picture face without its picture
            gen.buttonWidth = 60;
            gen.buttonHeight = 30;
        }

        // 3. Button with its faces.
        std::shared_ptr<swf::Button> button;
        const bool colourFace = style.kind == FaceKind::Colour && gen.normalFace;
        std::shared_ptr<swf::Shape> face = style.kind == FaceKind::Picture ? gen.pictureFace : nullptr;
        if (!colourFace && !face) {
            Step(app::reasons::kDrawButtonBackground1, [&] {
                if (!gen.invisibleFace) {
                    gen.invisibleFace = ColourRectangle(60, 30, Rgb{255, 255, 255}, 0);
                }
            });
            face = gen.invisibleFace;
        }
        Step(app::reasons::kAddButton, [&] {
            button = std::make_shared<swf::Button>();
            if (colourFace) {
                button->add_shape(gen.normalFace,
                                  swf::button_state::up | swf::button_state::down | swf::button_state::hit);
                button->add_shape(gen.overFace, swf::button_state::over);
            } else if (face) {
                button->add_shape(face, swf::button_state::all);
            }
        });

        // 4. Action.
        if (gen.wholeMovie) {
            Step(app::reasons::kActionGotoAndPlay, [&] {
                const std::string script =
                    LinkScript({link.m_nScore, card.m_strTitle, link.m_strTitle, link.m_strCompare,
                                link.m_nCompareValue, link.m_nThenGoto, link.m_nGoto});
                if (auto bytes = swf::as::compile(script); bytes && button) {
                    button->add_action(swf::Action(std::move(*bytes)), swf::button_event::release_over);
                }
            });
        }

        // 5, 6. Place the button and its caption, then advance.
        Step(app::reasons::kMoveButtonTitle, [&] {
            if (button) {
                swf::DisplayItem item = gen.movie.add(button);
                gen.linkItems.push_back(item);
                item.move_to(x, gen.H - 60);
            }
            if (caption) {
                const Point at = CaptionPosition(x, gen.buttonWidth, gen.buttonHeight, captionWidth,
                                                 int(gen.H), EndsWith(style.lowered, "swf"));
                swf::DisplayItem item = gen.movie.add(caption);
                gen.linkItems.push_back(item);
                item.move_to(at.x, at.y);
            }
            x = NextButtonX(x, gen.buttonWidth);
        });
    }
}

void GiftBuilder::MakeButtonFace(GiftGeneration& gen, int cardIndex) {
    const model::ProjectSettings& s = m_project.settings;
    const fs::path path = ResolveAsset(s.m_strButton);
    const std::string lowered = Lowered(path.string());
    std::error_code ec;
    std::shared_ptr<const swf::Bitmap> bitmap;
    if (fs::exists(path, ec)) {
        StepWithTip(TipButtonPicture(path.string()), [&] {
            const std::string converted =
                EndsWith(lowered, "dbl")
                    ? path.string()
                    : ConvertPictureToJpeg(path, cardIndex, kButtonPicture, gen.forceConvert);
            if (!converted.empty()) {
                bitmap = ReadBitmap(converted);
            }
        });
    }
    if (!bitmap) {
        // Without its picture the face would be an empty shape nobody can press: the buttons fall back
        // to the invisible 60 x 30 face, so the captions still work.
        return;
    }
    Step(app::reasons::kDrawButtonBackground2, [&] {
        gen.pictureFace = FilledRectangle(bitmap->width(), bitmap->height(), [&](swf::Shape& shape) {
            return shape.add_bitmap_fill(bitmap, swf::BitmapFillKind::Clipped);
        });
        if (gen.buttonWidth == -1.0f) {
            gen.buttonWidth = float(bitmap->width());
            gen.buttonHeight = float(bitmap->height());
        }
    });
}

} // namespace movie
