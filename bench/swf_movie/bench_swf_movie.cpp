// A gift-sized movie: 200 frames, each with a full-stage rectangle, two title lines, five comment
// lines and three buttons (a shared face of four shapes, one action each), everything removed after
// its frame; written uncompressed. The measured time includes loading the fonts.
#include "swf/movie.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

const std::filesystem::path font_dir = CW_BENCH_FONT_DIR;
constexpr double stage_w = 640;
constexpr double stage_h = 480;

std::shared_ptr<swf::Shape> rectangle(double w, double h, swf::Rgba color) {
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(shape->add_solid_fill(color));
    shape->move_pen_to(0, 0);
    shape->draw_line(w, 0);
    shape->draw_line(0, h);
    shape->draw_line(-w, 0);
    shape->draw_line(0, -h);
    shape->end();
    return shape;
}

// The compiled form of a typical link script (push, add, set variable, go to frame), about the size
// the compiler produces for one.
swf::Action link_action(int frame) {
    std::vector<uint8_t> bytes;
    const std::string script_like = "_root.score+=5;_root.trace+=\"Card title[-]Link title[N]\";";
    bytes.push_back(0x96); // Push
    bytes.push_back(static_cast<uint8_t>(script_like.size() + 2));
    bytes.push_back(0x00);
    bytes.push_back(0x00); // string
    bytes.insert(bytes.end(), script_like.begin(), script_like.end());
    bytes.push_back(0x00);
    bytes.push_back(0x17); // Pop
    bytes.push_back(0x81); // GotoFrame
    bytes.push_back(0x02);
    bytes.push_back(0x00);
    bytes.push_back(static_cast<uint8_t>(frame));
    bytes.push_back(0x00);
    bytes.push_back(0x06); // Play
    bytes.push_back(0x00); // End
    return swf::Action(std::move(bytes));
}

std::vector<uint8_t> build_movie() {
    const auto body_font = swf::Font::from_fdb_file(font_dir / "Sans.fdb");
    const auto title_font = swf::Font::from_fdb_file(font_dir / "_Sans.fdb");
    swf::Movie movie;
    movie.set_dimension(stage_w, stage_h);
    movie.set_rate(0);

    const auto normal = rectangle(60, 30, {0x27, 0x81, 0xC4, 255});
    const auto over = rectangle(60, 30, {0x13, 0x6D, 0xB0, 255});
    const auto down = rectangle(60, 30, {0x10, 0x50, 0x90, 255});
    const auto hit = rectangle(60, 30, {0, 0, 0, 255});

    for (int frame = 1; frame <= 200; ++frame) {
        std::vector<swf::DisplayItem> items;
        items.push_back(movie.add(rectangle(stage_w, stage_h, {255, 250, 240, 255})));
        const std::string title = "Card number " + std::to_string(frame) + ": a title that wraps";
        for (int line = 0; line < 2; ++line) {
            auto text = std::make_shared<swf::Text>();
            text->set_font(title_font);
            text->set_color({0x80, 0, 0, 255});
            text->set_height(24);
            text->add_string(line == 0 ? " " + title : " onto a second line");
            items.push_back(movie.add(text));
            items.back().move_to(10, 40 + 26 * line);
        }
        for (int line = 0; line < 5; ++line) {
            auto text = std::make_shared<swf::Text>();
            text->set_font(body_font);
            text->set_color({0, 0, 0x80, 255});
            text->set_height(20);
            items.push_back(movie.add(text));
            items.back().move_to(10, 100 + 20 * line);
            text->add_string("Comment line " + std::to_string(line + 1) + " of card " +
                             std::to_string(frame) + ", with some words.");
        }
        double x = 20;
        for (int link = 0; link < 3; ++link) {
            auto button = std::make_shared<swf::Button>();
            button->add_shape(normal, swf::button_state::up);
            button->add_shape(over, swf::button_state::over);
            button->add_shape(down, swf::button_state::down);
            button->add_shape(hit, swf::button_state::hit);
            button->add_action(link_action(frame % 200 + 1), swf::button_event::release_over);
            items.push_back(movie.add(button));
            items.back().move_to(x, stage_h - 60);
            x += 75;
        }
        movie.next_frame();
        for (auto& item : items) {
            item.remove();
        }
    }
    return movie.to_bytes(-1);
}

void bench_gift_movie(benchmark::State& state) {
    if (!std::filesystem::exists(font_dir / "Sans.fdb")) {
        state.SkipWithError("data/Font/Sans.fdb is missing: build the fonts first");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        const auto file = build_movie();
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["movie_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(bench_gift_movie)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void bench_font_load(benchmark::State& state) {
    if (!std::filesystem::exists(font_dir / "Sans.fdb")) {
        state.SkipWithError("data/Font/Sans.fdb is missing: build the fonts first");
        return;
    }
    for (auto _ : state) {
        auto font = swf::Font::from_fdb_file(font_dir / "Sans.fdb");
        benchmark::DoNotOptimize(font.get());
    }
}
BENCHMARK(bench_font_load)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
