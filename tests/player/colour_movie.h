// Small movies for the player tests: a stage filled with one colour.
#pragma once

#include "swf/movie.h"
#include "swf/shape.h"

#include <QByteArray>
#include <QColor>

#include <memory>
#include <optional>

namespace player_test {

// `action`, when given, runs in the movie's first frame.
inline QByteArray ColourMovie(QColor colour, int width = 200, int height = 150,
                              std::optional<swf::Action> action = std::nullopt) {
    swf::Movie movie;
    movie.set_dimension(width, height);
    movie.set_rate(12);
    movie.set_background(uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()));
    // A filled rectangle as well: some players paint the background colour only behind the stage.
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(
        shape->add_solid_fill({uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()), 255}));
    shape->move_pen_to(0, 0);
    shape->draw_line(width, 0);
    shape->draw_line(0, height);
    shape->draw_line(-width, 0);
    shape->draw_line(0, -height);
    shape->end();
    movie.add(shape).move_to(0, 0);
    if (action) {
        movie.add(*action);
    }
    movie.next_frame();
    const std::vector<uint8_t> bytes = movie.to_bytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace player_test
