#include "movie/gift_builder.h"

#include "app/asset_path.h"
#include "imaging/convert.h"
#include "imaging/error.h"
#include "imaging/file_write.h"
#include "imaging/size.h"
#include "movie/gift_generation.h"
#include "movie/gift_layout.h"
#include "movie/gift_scripts.h"
#include "movie/gift_shapes.h"
#include "movie/music_clip.h"
#include "swf/as/compiler.h"
#include "swf/error.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <span>
#include <system_error>

namespace movie {

namespace fs = std::filesystem;

namespace {

std::optional<swf::Action> CompileScript(std::string_view script) {
    if (auto bytes = swf::as::compile(script)) {
        return swf::Action(std::move(*bytes));
    }
    return std::nullopt; // a script that does not compile yields no action
}

} // namespace

GiftBuilder::GiftBuilder(const model::Project& project, const app::AppState& state,
                         const app::Workspace& workspace, app::ErrorReporter& reporter)
    : m_project(project), m_state(state), m_workspace(workspace), m_reporter(reporter) {}

GiftBuilder::~GiftBuilder() = default;

bool GiftBuilder::Step(const app::Reason& reason, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (...) {
        m_reporter.report(reason);
        return false;
    }
}

bool GiftBuilder::StepWithTip(const std::string& tip, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const imaging::TooLargeError& e) {
        m_reporter.tip(e.what()); // names the picture, its size and the limit
        return false;
    } catch (...) {
        m_reporter.tip(tip);
        return false;
    }
}

fs::path GiftBuilder::ResolveAsset(std::string_view ref) const {
    return app::ResolveReference(m_workspace.DataRoot(), ref);
}

fs::path GiftBuilder::MusicClipPath() const {
    return m_workspace.TempDir() / "MP3.swf";
}

PlanFonts GiftBuilder::Fonts() const {
    PlanFonts fonts;
    if (m_titleFont) {
        fonts.title = [font = m_titleFont](std::string_view text, double size) {
            return font->string_width(text, size);
        };
    }
    if (m_bodyFont) {
        fonts.body = [font = m_bodyFont](std::string_view text, double size) {
            return font->string_width(text, size);
        };
    }
    return fonts;
}

CardPlan GiftBuilder::Plan(const model::CCardInfo& card, float buttonWidth, float buttonHeight) const {
    return PlanCard(
        m_project.settings, card, Fonts(), [this](std::string_view ref) { return ResolveAsset(ref); },
        buttonWidth, buttonHeight);
}

model::ProjectSettings GiftBuilder::GenerationSettings(const GiftGeneration& gen) const {
    model::ProjectSettings settings = m_project.settings;
    settings.m_strButton = gen.buttonStyle;
    return settings;
}

std::pair<int, int> GiftBuilder::FitKeepingRatio(int pictureWidth, int pictureHeight, int stageWidth,
                                                 int stageHeight) {
    const imaging::Size size = imaging::FitKeepingRatio(pictureWidth, pictureHeight, stageWidth, stageHeight);
    return {size.width, size.height};
}

void GiftBuilder::LoadGiftFonts(int force) {
    const std::string& face = m_project.settings.m_strFont;
    // A face chosen in the project settings takes effect at the next generation, not only after the
    // next Open or New.
    if (m_bodyFont && m_titleFont && force != 1 && face == m_loadedFace) {
        return;
    }
    const fs::path folder = ResolveAsset("Font");
    std::error_code ec;
    m_bodyFont.reset();
    m_titleFont.reset();
    m_loadedFace = face;
    const fs::path body = folder / (face + ".fdb");
    if (!face.empty() && fs::exists(body, ec)) {
        m_bodyFont = swf::Font::from_fdb_file(body);
        const fs::path title = folder / ("_" + face + ".fdb");
        m_titleFont = swf::Font::from_fdb_file(fs::exists(title, ec) ? title : body);
    } else {
        m_bodyFont = swf::Font::from_fdb_file(folder / "Sans.fdb");
        m_titleFont = swf::Font::from_fdb_file(folder / "_Sans.fdb");
    }
    if (!m_fallbackFaces) {
        m_fallbackFaces = swf::FallbackFaces::load(folder / "Fallback");
    }
    m_bodyFont->set_fallbacks(m_fallbackFaces);
    m_titleFont->set_fallbacks(m_fallbackFaces);
}

namespace {

// What a converted picture was made from: the source file as it is now (path, size, time) and the
// conversion's settings. Empty when the source cannot be looked at.
std::string ConversionKey(const fs::path& source, int placementCode, int stageWidth, int stageHeight,
                          int quality) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(source, ec);
    const auto size = fs::file_size(source, ec);
    if (ec) {
        return {};
    }
    const auto time = fs::last_write_time(source, ec);
    if (ec) {
        return {};
    }
    return (absolute.empty() ? source : absolute).string() + "\n" + std::to_string(size) + " " +
           std::to_string(time.time_since_epoch().count()) + " q" + std::to_string(quality) + " p" +
           std::to_string(placementCode) + " " + std::to_string(stageWidth) + "x" +
           std::to_string(stageHeight);
}

std::string ReadSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::string GiftBuilder::ConvertPictureToJpeg(const fs::path& source, int cardIndex, int placementCode,
                                              int /*force*/) {
    const fs::path temp = m_workspace.TempDir();
    const fs::path target =
        placementCode == -1 ? temp / "generate_button.jpg" : temp / (std::to_string(cardIndex) + ".jpg");
    m_workspace.EnsureTempDir();
    const auto& s = m_project.settings;
    const int quality = m_state.m_nPictureQuality;

    // The converted picture is reused while its key file says it was made from this very source with
    // these settings; anything else (another card's picture at this place, an edited file, another
    // quality or stage) converts again.
    const std::string key = ConversionKey(source, placementCode, s.m_nGiftWidth, s.m_nGiftHeight, quality);
    fs::path keyFile = target;
    keyFile += ".key";
    std::error_code ec;
    if (!key.empty() && ReadSmallFile(keyFile) == key) {
        for (const fs::path& made : {target, imaging::TransparentTarget(target)}) {
            if (fs::exists(made, ec)) {
                return made.string();
            }
        }
    }
    fs::remove(keyFile, ec);
    ++m_conversions;
    // Pictures with transparent pixels come back as lossless PNGs, kept transparent in the movie.
    const std::string made = imaging::ConvertPictureToJpeg(source, target, placementCode, true,
                                                           s.m_nGiftWidth, s.m_nGiftHeight, quality, true);
    if (!made.empty() && !key.empty()) {
        imaging::WriteFileReplacing(keyFile,
                                    std::span(reinterpret_cast<const uint8_t*>(key.data()), key.size()));
    }
    return made;
}

int GiftBuilder::PrepareMusicClip(const fs::path& musicPath) {
    const std::string name = musicPath.string();
    const std::string kind = Lowered(name.size() >= 3 ? name.substr(name.size() - 3) : name);
    if (kind != "swf" && kind != "mp3") {
        return 0;
    }
    m_workspace.EnsureTempDir();
    const fs::path clip = MusicClipPath();
    std::error_code ec;
    fs::remove(clip, ec); // a clip of an earlier generation must never stand in for this one
    if (kind == "swf") {
        fs::copy_file(musicPath, clip, fs::copy_options::overwrite_existing); // throws when it fails
    } else {
        MakeMusicClip(musicPath, clip);
    }
    return 1;
}

int GiftBuilder::GenerateSWF(const fs::path& outPath, const model::CCardInfo* singleCard, int forceConvert,
                             int cardIndex) {
    const model::ProjectSettings& s = m_project.settings;
    GiftGeneration gen;
    gen.W = s.m_nGiftWidth;
    gen.H = s.m_nGiftHeight;
    gen.wholeMovie = singleCard == nullptr;
    gen.forceConvert = forceConvert;
    gen.buttonStyle = s.m_strButton;
    m_decisions = {};

    Step(app::reasons::kCreateSwf, [&] {
        gen.movie.set_dimension(gen.W, gen.H);
        gen.movie.set_rate(WrittenFrameRate(s.m_strSlideSeconds));
    });

    if (gen.wholeMovie && !s.m_strMusic.empty()) {
        Step(app::reasons::kAddMusic, [&] {
            const auto temp = LockTemp(); // Temp/MP3.swf is one file for every builder
            if (PrepareMusicClip(ResolveAsset(s.m_strMusic)) == 1) {
                gen.movie.add(swf::PrebuiltClip::from_file(MusicClipPath()));
            }
        });
    }

    gen.buttonWidth = -1.0f;
    gen.buttonHeight = -1.0f;

    if (!gen.wholeMovie) {
        GenerateCardFrame(gen, 0, singleCard, 0, forceConvert, cardIndex);
    } else {
        Step(app::reasons::kActionStop, [&] {
            if (auto opening = CompileScript(kOpeningScript)) {
                gen.movie.add(*opening);
            }
            if (s.m_bSlideShow == 0) {
                gen.stopAction = CompileScript(kStopScript);
            }
        });
        int k = 0;
        const int total = int(m_project.cards.size());
        for (const std::unique_ptr<model::CCardInfo>& card : m_project.cards) {
            if (m_progress && !m_progress(k, total)) {
                throw GenerationStopped();
            }
            if (card->m_bMailAlert == 1) {
                Step(app::reasons::kActionGetUrl, [&] {
                    if (auto alert = CompileScript(MailAlertScript(card->m_strTitle, s.m_strEmail))) {
                        gen.movie.add(*alert);
                    }
                });
            }
            if (s.m_bSlideShow == 0) {
                Step(app::reasons::kActionGetUrl, [&] {
                    if (gen.stopAction) {
                        gen.movie.add(*gen.stopAction);
                    }
                });
            }
            GenerateCardFrame(gen, k + 1, card.get(), 1, forceConvert, k);
            ++k;
        }
    }

    if (singleCard == nullptr && m_progress &&
        !m_progress(int(m_project.cards.size()), int(m_project.cards.size()))) {
        throw GenerationStopped();
    }
    // Writing is the one step whose failure reaches the caller.
    gen.movie.write_file(outPath);
    return 1;
}

int GiftBuilder::GenerateCardFrame(GiftGeneration& gen, int /*frameSlot*/, const model::CCardInfo* card,
                                   int wholeMovie, int forceConvert, int cardIndex) {
    if (card == nullptr) {
        return 0;
    }
    gen.wholeMovie = wholeMovie == 1;
    try {
        LoadGiftFonts(0);
    } catch (const std::exception&) {
        // Without fonts the text steps below report their own failures.
    }
    ResolveButtonSize(gen, *card, cardIndex);
    const CardPlan plan = PlanCard(
        GenerationSettings(gen), *card, Fonts(), [this](std::string_view ref) { return ResolveAsset(ref); },
        gen.buttonWidth, gen.buttonHeight);
    Rgb colour; // white; carried from the background to the title and the comment
    AddBackground(gen, *card, cardIndex, forceConvert, colour);
    AddTitle(gen, *card, plan);
    AddComment(gen, plan);
    AddLinks(gen, *card, plan);
    AddCredit(gen, plan);

    Step(app::reasons::kNextFrame, [&] { gen.movie.next_frame(); });
    Step(app::reasons::kClearResources, [&] {
        for (swf::DisplayItem& item : gen.cardItems) {
            item.remove();
        }
        for (swf::DisplayItem& item : gen.linkItems) {
            item.remove();
        }
    });
    gen.cardItems.clear();
    gen.linkItems.clear();
    return 1;
}

} // namespace movie
