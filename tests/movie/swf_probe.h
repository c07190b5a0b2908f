// A small, independent reader of the movies the builder writes, for tests: the header, the tags, and
// the display list of every frame (which character sits at which depth and where).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace probe {

struct Tag {
    uint16_t code = 0;
    std::vector<uint8_t> body;
};

struct Placed {
    uint16_t character = 0;
    double x = 0; // pixels
    double y = 0;
};

struct Frame {
    std::map<uint16_t, Placed> stage;          // by depth
    std::vector<std::vector<uint8_t>> actions; // DoAction bodies of this frame
};

struct Movie {
    uint8_t version = 0;
    double width = 0; // pixels
    double height = 0;
    uint16_t rate_fixed = 0; // 8.8
    uint16_t frame_count = 0;
    std::vector<Tag> tags;
    std::map<uint16_t, Tag> definitions; // by character id
    std::vector<Frame> frames;

    double rate() const { return rate_fixed / 256.0; }
    // The tag code that defined a character.
    uint16_t kind(uint16_t character) const;
    // Items of a frame whose character was defined by `code`, in depth order.
    std::vector<Placed> placed(size_t frame, uint16_t code) const;
};

Movie Read(const std::filesystem::path& file);
Movie Parse(const std::vector<uint8_t>& bytes);

// Button condition actions of a DefineButton2 body: (conditions, action bytes).
std::vector<std::pair<uint16_t, std::vector<uint8_t>>> ButtonActions(const std::vector<uint8_t>& body);

// Solid fill colours (RGBA) of a DefineShape3 body, in order; bitmap fills give their flag byte in
// `bitmap_fills`.
struct ShapeInfo {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0; // bounds, pixels
    std::vector<uint32_t> solid_rgba;
    std::vector<uint8_t> bitmap_fills;
};
ShapeInfo ReadShape(const std::vector<uint8_t>& body);

// Button records of a DefineButton2: (state flags, character id).
std::vector<std::pair<uint8_t, uint16_t>> ButtonRecords(const std::vector<uint8_t>& body);

// The strings pushed by actions (ActionPush string values and ConstantPool entries).
std::vector<std::string> ActionStrings(const std::vector<uint8_t>& actions);

} // namespace probe
