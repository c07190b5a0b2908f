// The gift builder: turns the project into one Flash movie, the e-gift (every card a frame, link buttons
// with their scripts, music, credits), or into the movie of one card alone for the live preview.
//
//     movie::GiftBuilder builder(project, state, workspace, reporter);
//     builder.GenerateSWF(out, nullptr, 1, 0);          // the whole movie
//     builder.GenerateSWF(preview, card, 0, cardIndex);  // one card, no scripts
//
// Every step reports its own failure through the error reporter (an error report with its reason, or
// a tip) and generation goes on; only writing the file throws. The builder never changes the project:
// what it decides for one movie (a fallback button colour) is kept in LastDecisions(). Fonts stay loaded
// between generations; everything else made for a movie is released when the generation ends.
#pragma once

#include "app/app_state.h"
#include "app/error_report.h"
#include "app/workspace.h"
#include "model/card_info.h"
#include "model/project.h"
#include "movie/card_plan.h"
#include "movie/card_text.h"
#include "swf/font.h"
#include "swf/text.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace movie {

struct GiftGeneration;

// What the builder decided on its own while making one movie.
struct GiftDecisions {
    // The colour the link buttons were drawn in instead of a button clip that could not be imported.
    std::optional<std::string> fallbackButton;
};

// Thrown by GenerateSWF when its progress callback asked it to stop; nothing was written.
class GenerationStopped : public std::runtime_error {
public:
    GenerationStopped() : std::runtime_error("the generation was stopped") {}
};

// Told before each card of a whole movie that `done` of `total` cards are built; false stops the
// generation. Called on the generating thread.
using CardProgress = std::function<bool(int done, int total)>;

class GiftBuilder {
public:
    // The builder reads the project, the picture quality and the folders at every generation; all
    // four must outlive it. The project is only read.
    GiftBuilder(const model::Project& project, const app::AppState& state, const app::Workspace& workspace,
                app::ErrorReporter& reporter);
    ~GiftBuilder();

    // Writes the whole movie (singleCard null) or the one-frame movie of `singleCard` at 0-based
    // position `cardIndex` to `outPath`. `forceConvert` 1 converts pictures again even when converted
    // files exist. Returns 1; throws swf::Error when the file cannot be written.
    int GenerateSWF(const std::filesystem::path& outPath, const model::CCardInfo* singleCard,
                    int forceConvert, int cardIndex);
    // What the last GenerateSWF decided.
    const GiftDecisions& LastDecisions() const { return m_decisions; }
    // Progress of the whole movies built from now on (none by default).
    void SetCardProgress(CardProgress progress) { m_progress = std::move(progress); }

    // Loads the body and title fonts of the project's face when either is missing, the project's face
    // differs from the loaded one, or `force` is 1. Called with 1 after Open and New; generations call
    // it with 0.
    void LoadGiftFonts(int force);

    // The picture `source` as a JPEG in Temp: "Temp/<cardIndex>.jpg", or "Temp/generate_button.jpg"
    // for placement code -1, sized by the placement code's rules; a picture with transparent pixels becomes
    // a lossless "Temp/<cardIndex>.png" instead. A picture converted before from the same file (path,
    // size, modification time) with the same quality, placement code and stage size is reused, whatever
    // `force` says: a key file beside it ("Temp/<cardIndex>.jpg.key") records what it was made from.
    // Returns "" when it cannot be written; throws imaging::Error when the source cannot be read. Hold
    // LockTemp() until the file has been read back: another builder may write the same name.
    std::string ConvertPictureToJpeg(const std::filesystem::path& source, int cardIndex, int placementCode,
                                     int force);
    // Held around converting a picture and reading it back: see app::Workspace::LockTemp.
    [[nodiscard]] std::unique_lock<std::mutex> LockTemp() const { return m_workspace.LockTemp(); }
    // Pictures this builder has converted (not reused) so far.
    int ConversionCount() const { return m_conversions.load(); }

    // Writes the music clip Temp/MP3.swf for a music file (a Flash clip is copied, an MP3 converted).
    // Returns 1 when written, 0 when the file is neither (no music). Throws when it cannot be made.
    int PrepareMusicClip(const std::filesystem::path& musicPath);

    static std::vector<std::string> SplitString(std::string_view text, std::string_view separator) {
        return movie::SplitString(text, separator);
    }
    static std::pair<int, int> FitKeepingRatio(int pictureWidth, int pictureHeight, int stageWidth,
                                               int stageHeight);

    // The fonts in use (null when they could not be loaded).
    const std::shared_ptr<swf::Font>& BodyFont() const { return m_bodyFont; }
    const std::shared_ptr<swf::Font>& TitleFont() const { return m_titleFont; }

    std::filesystem::path MusicClipPath() const;

    // The widths of text in the loaded faces, for planning cards.
    PlanFonts Fonts() const;
    // The plan of `card` with the loaded fonts and a button size (see PlanCard).
    CardPlan Plan(const model::CCardInfo& card, float buttonWidth, float buttonHeight) const;
    // A project reference ("Background\x.jpg") as a file of the data folder, or an absolute path.
    std::filesystem::path ResolveAsset(std::string_view ref) const;

private:
    int GenerateCardFrame(GiftGeneration& gen, int frameSlot, const model::CCardInfo* card, int wholeMovie,
                          int forceConvert, int cardIndex);
    void AddBackground(GiftGeneration& gen, const model::CCardInfo& card, int cardIndex, int forceConvert,
                       Rgb& colour);
    void AddTitle(GiftGeneration& gen, const model::CCardInfo& card, const CardPlan& plan);
    void AddComment(GiftGeneration& gen, const CardPlan& plan);
    void AddLinks(GiftGeneration& gen, const model::CCardInfo& card, const CardPlan& plan);
    void AddCredit(GiftGeneration& gen, const CardPlan& plan);
    void ResolveButtonSize(GiftGeneration& gen, const model::CCardInfo& card, int cardIndex);
    void MakeButtonFace(GiftGeneration& gen, int cardIndex);
    // Tips, once per movie, about the first character of `utf8` that `text` drew as a box.
    void TipMissingCharacter(GiftGeneration& gen, const swf::Text& text, std::string_view utf8);

    // Runs one step: any failure becomes the error report `reason` (or the tip), and generation goes on.
    bool Step(const app::Reason& reason, const std::function<void()>& step);
    bool StepWithTip(const std::string& tip, const std::function<void()>& step);

    // The project's settings with this generation's button style.
    model::ProjectSettings GenerationSettings(const GiftGeneration& gen) const;

    const model::Project& m_project;
    const app::AppState& m_state;
    const app::Workspace& m_workspace;
    app::ErrorReporter& m_reporter;
    std::shared_ptr<swf::Font> m_bodyFont;
    std::shared_ptr<swf::Font> m_titleFont;
    std::shared_ptr<const swf::FallbackFaces> m_fallbackFaces; // read once, outlines on first use
    std::string m_loadedFace;                                  // the face the two fonts were loaded for
    GiftDecisions m_decisions;                                 // of the last generation
    CardProgress m_progress;
    std::atomic<int> m_conversions{0}; // read by other threads
};

} // namespace movie
