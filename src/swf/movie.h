// A movie under construction: stage, rate, background, the frames with their display list, and the
// characters it defines. Units are pixels (1 pixel = 20 twips).
//
//     swf::Movie movie;                       // version 6, white stage
//     movie.set_dimension(640, 480);
//     movie.set_rate(12);
//     swf::DisplayItem item = movie.add(shape);
//     item.move_to(10, 40);
//     movie.add(swf::Action(stop_bytes));     // a frame action
//     movie.next_frame();
//     item.remove();
//     movie.write_file("out.swf");            // uncompressed; write_file(path, 9) compresses
//
// Characters get ids from 1 in the order they are first needed, and each is defined (after what it
// depends on: bitmap before shape, font before text, shapes before button) right before its first
// placement. Placed items get depths from 1, one more per placement. Running out of ids or depths
// throws swf::Error.
#pragma once

#include "swf/action.h"
#include "swf/bitmap.h"
#include "swf/button.h"
#include "swf/character.h"
#include "swf/color.h"
#include "swf/prebuilt_clip.h"
#include "swf/raw_tag.h"
#include "swf/shape.h"
#include "swf/text.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace swf {

namespace detail {
class MovieState;
struct PlacedItem;
} // namespace detail

// A handle to one placement of a character. Copies refer to the same placement. Using a handle after
// its movie is gone throws swf::Error.
class DisplayItem {
public:
    DisplayItem() = default;

    // Moves the item's origin to (x, y). In the frame where the item was placed this sets its
    // placement; in a later frame the move is written when that frame ends.
    void move_to(double x, double y);
    // Multiplies the item's colour channels (1.0 leaves a channel unchanged).
    void set_color_mult(float red, float green, float blue, float alpha);
    // Removes the item from the stage in the current frame. Removing twice does nothing.
    void remove();

    Depth depth() const;
    bool is_removed() const;

private:
    friend class detail::MovieState;
    DisplayItem(std::weak_ptr<detail::MovieState> movie, std::shared_ptr<detail::PlacedItem> item);
    std::shared_ptr<detail::MovieState> lock() const;

    std::weak_ptr<detail::MovieState> movie_;
    std::shared_ptr<detail::PlacedItem> item_;
};

class Movie {
public:
    explicit Movie(uint8_t version = 6);
    Movie(Movie&&) noexcept;
    Movie& operator=(Movie&&) noexcept;
    ~Movie();

    void set_dimension(double width, double height);
    // Frames per second; 0 lets the player choose. Written as floor(rate * 256) in 8.8 fixed point.
    void set_rate(double frames_per_second);
    // Writes SetBackgroundColor; without it the stage is the player's default white.
    void set_background(uint8_t red, uint8_t green, uint8_t blue);

    // Places a character in the current frame, above everything placed before.
    DisplayItem add(std::shared_ptr<const Shape> shape);
    DisplayItem add(std::shared_ptr<const Text> text);
    DisplayItem add(std::shared_ptr<const Button> button);
    DisplayItem add(std::shared_ptr<const PrebuiltClip> clip);
    // A bitmap on its own: placed as a rectangle of its size with a clipped fill of it.
    DisplayItem add(std::shared_ptr<const Bitmap> bitmap);
    // A frame action (DoAction) of the current frame.
    void add(const Action& action);
    void remove(DisplayItem& item) { item.remove(); }

    // Ends the current frame (ShowFrame).
    void next_frame();
    int frame_count() const;

    // For tags made elsewhere (imported clips, sounds): a fresh character id, a ready-made definition
    // tag in the current frame, and a control tag (for example StartSound) in the current frame.
    CharacterId allocate_id();
    void add_definition(RawTag tag);
    void add_control_tag(RawTag tag);

    // The whole file. `compression_level` -1 writes "FWS" uncompressed; 0..9 writes "CWS" with zlib at
    // that level. Frames left open are ended: a movie without any frame gets one; trailing removals
    // after the last frame are dropped (they would show nothing).
    std::vector<uint8_t> to_bytes(int compression_level = -1) const;
    // Writes beside the target, then renames over it. Throws swf::Error when it cannot be written.
    void write_file(const std::filesystem::path& path, int compression_level = -1) const;

private:
    DisplayItem place(std::shared_ptr<const Character> character);

    std::shared_ptr<detail::MovieState> state_;
};

} // namespace swf
