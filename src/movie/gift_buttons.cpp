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

void GiftBuilder::ResolveButtonSize(GiftGeneration& gen, const model::CCardInfo& card, int cardIndex) {
    if (card.m_pLinks->m_pLinkList.empty()) {
        return; // the size is known from the first card with links on
    }
    const ButtonFace face =
        PlanButtonFace(GenerationSettings(gen), [this](std::string_view r) { return ResolveAsset(r); });
    if (face.kind == ButtonFaceKind::Picture && !gen.pictureFaceTried) {
        gen.pictureFaceTried = true;
        MakeButtonFace(gen, cardIndex);
    }
    if (gen.buttonWidth == -1.0f) { // colour and clip faces, and a picture face without its picture
        gen.buttonWidth = 60;
        gen.buttonHeight = 30;
    }
}

void GiftBuilder::AddLinks(GiftGeneration& gen, const model::CCardInfo& card, const CardPlan& plan) {
    size_t index = 0;
    for (const std::unique_ptr<model::CLinkInfo>& entry : card.m_pLinks->m_pLinkList) {
        if (!entry) {
            continue;
        }
        const model::CLinkInfo& link = *entry;
        const PlannedLink& planned = plan.links.at(index++);
        const int x = planned.x;

        // The style is read anew for every link: a failing clip face switches this movie to a colour.
        ButtonStyle style;
        const std::string styleText = gen.buttonStyle;
        const bool hasHash = styleText.find('#') != std::string::npos;
        style.path = hasHash ? fs::path(styleText) : ResolveAsset(styleText);
        style.lowered = Lowered(style.path.string());
        style.kind = hasHash                           ? FaceKind::Colour
                     : EndsWith(style.lowered, ".swf") ? FaceKind::Clip
                                                       : FaceKind::Picture;
        std::error_code ec;

        // 1. Caption.
        std::shared_ptr<swf::Text> caption;
        Step(app::reasons::kLinkTitle, [&] {
            if (!m_bodyFont) {
                throw swf::Error("the gift's fonts are not loaded");
            }
            caption = std::make_shared<swf::Text>();
            caption->set_font(m_bodyFont);
            caption->set_color(Opaque(planned.caption.colour));
            caption->set_height(planned.caption.size);
            caption->add_string(planned.caption.text);
            TipMissingCharacter(gen, *caption, link.m_strTitle);
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
                        const std::string clipName = gen.buttonStyle;
                        gen.buttonStyle = "#FFFFFF";
                        m_decisions.fallbackButton = gen.buttonStyle;
                        m_reporter.tip(TipButtonClip(clipName));
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
                    LinkScript({planned.score, card.m_strTitle, link.m_strTitle, link.m_strCompare,
                                planned.compare_value, planned.then_goto, planned.goto_card});
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
                swf::DisplayItem item = gen.movie.add(caption);
                gen.linkItems.push_back(item);
                item.move_to(planned.caption.at.x, planned.caption.at.y);
            }
        });
    }
}

void GiftBuilder::MakeButtonFace(GiftGeneration& gen, int cardIndex) {
    const fs::path path = ResolveAsset(gen.buttonStyle);
    const std::string lowered = Lowered(path.string());
    std::error_code ec;
    std::shared_ptr<const swf::Bitmap> bitmap;
    if (fs::exists(path, ec)) {
        StepWithTip(TipButtonPicture(path.string()), [&] {
            const auto temp = LockTemp(); // see AddBackground
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
