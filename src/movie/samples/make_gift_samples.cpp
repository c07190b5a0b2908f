// make_gift_samples DATA_DIR: writes the samples made with our own libraries into the build tree's data
// folder: a .dbl background, a Flash background clip, a button clip, a Flash music clip (from
// Music/Chord.mp3) for the pickers, and the projects of Themes/: a birthday greeting, a quiz that branches
// on the score, a branching story and the occasion themes. The themes use pictures and MP3 music only, so
// that every theme can also be published as a web page.
#include "model/archive.h"
#include "model/project.h"
#include "occasion_themes.h"
#include "swf/dbl.h"
#include "swf/movie.h"
#include "swf/mp3_clip.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::shared_ptr<swf::Shape> Rect(double x, double y, double w, double h, swf::Rgba colour) {
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(shape->add_solid_fill(colour));
    shape->move_pen_to(x, y);
    shape->draw_line(w, 0);
    shape->draw_line(0, h);
    shape->draw_line(-w, 0);
    shape->draw_line(0, -h);
    shape->end();
    return shape;
}

// A 64 x 64 checkerboard of soft colours, tiled well as a background.
void WriteChecks(const fs::path& file) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool dark = ((x / 16) + (y / 16)) % 2 == 1;
            const uint8_t px[4] = {uint8_t(dark ? 0xC8 : 0xF4), uint8_t(dark ? 0xE6 : 0xFA), 0xFF, 0xFF};
            rgba.insert(rgba.end(), px, px + 4);
        }
    }
    WriteBytes(file, swf::write_dbl(swf::lossless_from_rgba(64, 64, rgba, false)));
}

// A 640 x 480 clip of bubbles rising over a sea-blue stage: twelve frames, each bubble a square moved
// a little further up.
void WriteBubbles(const fs::path& file) {
    swf::Movie movie;
    movie.set_dimension(640, 480);
    movie.set_rate(12);
    movie.add(Rect(0, 0, 640, 480, {0x2a, 0x7a, 0xb8, 255})).move_to(0, 0);
    std::vector<swf::DisplayItem> bubbles;
    const double xs[] = {80, 200, 330, 450, 560};
    for (double x : xs) {
        swf::DisplayItem item = movie.add(Rect(0, 0, 18, 18, {0xd8, 0xf0, 0xff, 200}));
        item.move_to(x, 460);
        bubbles.push_back(item);
    }
    for (int frame = 0; frame < 12; ++frame) {
        for (size_t i = 0; i < bubbles.size(); ++i) {
            bubbles[i].move_to(xs[i], 460 - std::fmod(40.0 * frame + 90.0 * double(i), 460.0));
        }
        movie.next_frame();
    }
    movie.write_file(file);
}

// A 60 x 30 button face clip that pulses between two golds.
void WriteButtonClip(const fs::path& file) {
    swf::Movie movie;
    movie.set_dimension(60, 30);
    movie.set_rate(6);
    swf::DisplayItem face = movie.add(Rect(0, 0, 60, 30, {0xf2, 0xb8, 0x2c, 255}));
    face.move_to(0, 0);
    movie.next_frame();
    face.remove();
    movie.add(Rect(0, 0, 60, 30, {0xf7, 0xcf, 0x5a, 255})).move_to(0, 0);
    movie.next_frame();
    movie.write_file(file);
}

model::CLinkInfo* Link(model::CCardInfo& card, const std::string& title, int go, int score = 0,
                       const std::string& compare = "", int value = 0, int thenGo = 0) {
    return card.m_pLinks->AddLink(title, go, score, -1, compare, value, thenGo);
}

model::CCardInfo& AddCard(model::Project& p, const std::string& title, const std::string& comment,
                          const std::string& background, int align = 4) {
    auto card = model::CCardInfo::MakeNew(p.CardCount());
    card->m_strTitle = title;
    card->m_strComment = comment;
    card->m_strBackground = background;
    card->m_nBgAlign = align;
    card->m_bProjectBg = 0;
    p.cards.push_back(std::move(card));
    return *p.cards.back();
}

model::Project Greeting() {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_strAuthor = "Cardwright";
    p.settings.m_strButton = "Button\\Gold.jpg";
    p.settings.m_strMusic = "Music\\Chord.mp3";
    p.settings.m_bPromoteEach = 0;
    AddCard(p, "Happy birthday!", "Another year of wonderful you.\r\nPress the button for a surprise.",
            "Background\\Sunrise.jpg", 4);
    Link(*p.cards[0], "Open", 1);
    auto& second =
        AddCard(p, "Make a wish", "The candles are lit.\r\n\r\nWith love.", "Background\\Meadow.png", 10);
    second.m_strTitleColor = "#7A2E00";
    Link(second, "Again", 0);
    AddCard(p, "Thank you for watching", "See you next year!", "Background\\Balloons.jpg");
    Link(second, "The end", 2);
    return p;
}

model::Project Quiz() {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_strButton = "#3AA655";
    p.settings.m_strButtonTextColor = "#FFFFFF";
    p.settings.m_strMusic = "Music\\Quiz.mp3";
    p.settings.m_bPromoteEach = 0;
    auto& q1 = AddCard(p, "Question 1: Which planet is the largest?", "Pick one answer.", "#FFF6E0");
    Link(q1, "Mars", 1, 0);
    Link(q1, "Jupiter", 1, 10);
    Link(q1, "Venus", 1, 0);
    auto& q2 = AddCard(p, "Question 2: How many legs has a spider?", "Pick one answer.", "#E0F6FF");
    Link(q2, "Six", 2, 0);
    Link(q2, "Eight", 2, 10);
    auto& result = AddCard(p, "Let us see how you did", "Press the button for your result.",
                           "Background\\Checks.dbl", 9);
    Link(result, "Result", 4, 0, ">=", 20, 3);
    auto& top = AddCard(p, "Full marks!", "Both answers right. Well done!", "Background\\Sunrise.jpg");
    top.m_bMailAlert = 1;
    Link(top, "Play again", 0);
    auto& retry = AddCard(p, "Nearly there", "Not every answer was right.\r\nHave another go.", "#F0E0FF");
    Link(retry, "Try again", 0);
    return p;
}

model::Project Story() {
    model::Project p;
    p.settings = model::NewProjectSettings();
    p.settings.m_strButton = "Button\\Green.png";
    p.settings.m_strMusic = "Music\\Forest.mp3";
    auto& start = AddCard(p, "The fork in the forest", "Two paths lead on.\r\nWhich one do you take?",
                          "Background\\Meadow.png", 10);
    Link(start, "Left", 1);
    Link(start, "Right", 2);
    auto& left = AddCard(p, "A quiet lake", "A boat waits at the shore.", "Background\\Night.bmp", 10);
    Link(left, "Row across", 3);
    Link(left, "Go back", 0);
    auto& right = AddCard(p, "A dark cave", "Something glitters inside.", "Background\\Dots.gif", 9);
    Link(right, "Step in", 3);
    Link(right, "Go back", 0);
    AddCard(p, "Treasure!", "You found the way home with a chest of gold.", "Background\\Treasure.jpg");
    return p;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_gift_samples DATA_DIR\n");
        return 64;
    }
    const fs::path data = argv[1];
    try {
        WriteChecks(data / "Background" / "Checks.dbl");
        WriteBubbles(data / "Background" / "Bubbles.swf");
        WriteButtonClip(data / "Button" / "Pulse.swf");
        swf::WriteMp3Clip(data / "Music" / "Chord.mp3", data / "Music" / "Chime.swf");
        fs::create_directories(data / "Themes");
        model::SaveProjectFile(Greeting(), data / "Themes" / "Greeting.cwp");
        model::SaveProjectFile(Quiz(), data / "Themes" / "Quiz.cwp");
        model::SaveProjectFile(Story(), data / "Themes" / "Story.cwp");
        for (const samples::NamedTheme& theme : samples::OccasionThemes()) {
            model::SaveProjectFile(theme.project, data / "Themes" / (theme.name + ".cwp"));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_gift_samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
