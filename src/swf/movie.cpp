#include "swf/movie.h"

#include "swf/error.h"
#include "swf/movie_state.h"
#include "swf/utf8.h"
#include "swf/writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>

namespace swf {

// ---- contexts -----------------------------------------------------------------------------------

namespace detail {

std::optional<uint32_t> FontSubset::index_of(size_t glyph) const {
    const auto it = index.find(glyph);
    if (it == index.end()) {
        return std::nullopt;
    }
    return it->second;
}

CharacterId DefineContext::require(const std::shared_ptr<const Character>& character) {
    if (!character) {
        throw Error("no character given");
    }
    if (const auto it = movie_.ids.find(character.get()); it != movie_.ids.end()) {
        return it->second;
    }
    movie_.keep_alive.push_back(character);
    const CharacterId id = character->define(*this);
    movie_.ids.emplace(character.get(), id);
    return id;
}

CharacterId DefineContext::allocate_id() {
    return movie_.allocate_id();
}

void DefineContext::defer(const Character& character, CharacterId id) {
    movie_.entries.emplace_back(MovieState::Deferred{&character, id});
    movie_.frame_has_content = true;
}

void DefineContext::add_definition(const RawTag& tag) {
    write_raw_tag(tag.code, tag.body, movie_.bytes());
    movie_.frame_has_content = true;
}

CharacterId EncodeContext::id_of(const Character& character) const {
    const auto it = ids_.find(&character);
    if (it == ids_.end()) {
        throw Error("a character refers to another that was never defined in this movie");
    }
    return it->second;
}

const FontSubset& EncodeContext::subset(const Font& font) const {
    static const FontSubset empty;
    const auto it = subsets_.find(&font);
    return it == subsets_.end() ? empty : it->second;
}

// ---- movie state --------------------------------------------------------------------------------

std::vector<uint8_t>& MovieState::bytes() {
    if (entries.empty() || !std::holds_alternative<std::vector<uint8_t>>(entries.back())) {
        entries.emplace_back(std::vector<uint8_t>{});
    }
    return std::get<std::vector<uint8_t>>(entries.back());
}

void MovieState::append_tag(const Tag& tag) {
    write_tag(tag, bytes());
}

CharacterId MovieState::allocate_id() {
    if (next_id > 0xFFFF) {
        throw Error("out of character ids: a movie holds at most 65535 characters");
    }
    return static_cast<CharacterId>(next_id++);
}

std::shared_ptr<PlacedItem> MovieState::place(const std::shared_ptr<const Character>& character) {
    if (next_depth > 0xFFFF) {
        throw Error("out of depths: a movie places at most 65535 items");
    }
    DefineContext context(*this);
    const CharacterId id = context.require(character);
    auto item = std::make_shared<PlacedItem>();
    item->depth = static_cast<Depth>(next_depth++);
    item->character_id = id;
    entries.emplace_back(Pending{item});
    frame_has_content = true;
    return item;
}

void MovieState::change(const std::shared_ptr<PlacedItem>& item) {
    if (item->shown && !item->changed) {
        item->changed = true;
        changed_items.push_back(item);
    }
}

void MovieState::remove(PlacedItem& item) {
    if (item.removed) {
        return;
    }
    item.removed = true;
    append_tag(RemoveObject2{item.depth});
}

namespace {

PlaceObject2 placement_of(const PlacedItem& item) {
    PlaceObject2 place;
    place.depth = item.depth;
    place.character_id = item.character_id;
    place.matrix = item.matrix.value_or(Matrix{});
    place.color_transform = item.color_transform;
    return place;
}

PlaceObject2 move_of(const PlacedItem& item) {
    PlaceObject2 move;
    move.depth = item.depth;
    move.is_move = true;
    move.matrix = item.matrix;
    move.color_transform = item.color_transform;
    return move;
}

} // namespace

void MovieState::next_frame() {
    if (frames >= 0xFFFF) {
        throw Error("too many frames: a movie holds at most 65535");
    }
    // Placements of this frame take the position and colour their items have now.
    for (size_t i = frame_start; i < entries.size(); ++i) {
        if (auto* pending = std::get_if<Pending>(&entries[i])) {
            std::vector<uint8_t> encoded;
            write_tag(placement_of(*pending->item), encoded);
            pending->item->shown = true;
            entries[i] = std::move(encoded);
        }
    }
    for (const auto& item : changed_items) {
        if (!item->removed) {
            append_tag(move_of(*item));
        }
        item->changed = false;
    }
    changed_items.clear();
    append_tag(ShowFrame{});
    ++frames;
    // The next frame starts a fresh chunk, so tags after the last ShowFrame stay apart.
    entries.emplace_back(std::vector<uint8_t>{});
    frame_start = entries.size() - 1;
    frame_has_content = false;
}

std::unordered_map<const Font*, FontSubset> MovieState::font_subsets() const {
    // (code, glyph) pairs, so the glyphs come out in code order.
    std::unordered_map<const Font*, std::set<std::pair<uint16_t, size_t>>> used;
    for (const Entry& entry : entries) {
        const auto* deferred = std::get_if<Deferred>(&entry);
        if (!deferred) {
            continue;
        }
        if (const auto* font = dynamic_cast<const Font*>(deferred->character)) {
            used.try_emplace(font);
        } else if (const auto* text = dynamic_cast<const Text*>(deferred->character)) {
            for (const Text::Run& run : text->runs()) {
                auto& glyphs = used[run.font.get()];
                for (const PlacedGlyph& glyph : run.glyphs) {
                    glyphs.emplace(run.font->definition().glyphs[glyph.glyph].code, glyph.glyph);
                }
            }
        }
    }
    std::unordered_map<const Font*, FontSubset> subsets;
    for (auto& [font, glyphs] : used) {
        // A font is never written without glyphs: an unused one carries its replacement glyph.
        if (glyphs.empty()) {
            if (const auto glyph = font->glyph_for(0xFFFD)) {
                glyphs.emplace(font->definition().glyphs[*glyph].code, *glyph);
            }
        }
        FontSubset subset;
        for (const auto& [code, glyph] : glyphs) {
            subset.index.emplace(glyph, static_cast<uint32_t>(subset.glyphs.size()));
            subset.glyphs.push_back(glyph);
            subset.codes.insert(code);
        }
        subsets.emplace(font, std::move(subset));
    }
    return subsets;
}

void MovieState::write_pending_frame(const EncodeContext& context, std::vector<uint8_t>& out) const {
    for (size_t i = frame_start; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (const auto* encoded = std::get_if<std::vector<uint8_t>>(&entry)) {
            out.insert(out.end(), encoded->begin(), encoded->end());
        } else if (const auto* deferred = std::get_if<Deferred>(&entry)) {
            EncodeContext::encode(*deferred->character, deferred->id, context, out);
        } else {
            write_tag(placement_of(*std::get<Pending>(entry).item), out);
        }
    }
    for (const auto& item : changed_items) {
        if (!item->removed) {
            write_tag(move_of(*item), out);
        }
    }
    write_tag(ShowFrame{}, out);
}

std::vector<uint8_t> MovieState::tags_for_file() const {
    const auto subsets = font_subsets();
    const EncodeContext context(ids, subsets);
    std::vector<uint8_t> out;
    size_t size = 0;
    for (size_t i = 0; i < frame_start; ++i) {
        if (const auto* encoded = std::get_if<std::vector<uint8_t>>(&entries[i])) {
            size += encoded->size();
        }
    }
    out.reserve(size + 4096);
    if (background) {
        write_tag(SetBackgroundColor{*background}, out);
    }
    for (size_t i = 0; i < frame_start; ++i) {
        const Entry& entry = entries[i];
        if (const auto* encoded = std::get_if<std::vector<uint8_t>>(&entry)) {
            out.insert(out.end(), encoded->begin(), encoded->end());
        } else {
            const auto& deferred = std::get<Deferred>(entry);
            EncodeContext::encode(*deferred.character, deferred.id, context, out);
        }
    }
    if (frames == 0 || frame_has_content) {
        write_pending_frame(context, out);
    }
    write_tag(End{}, out);
    return out;
}

DisplayItem MovieState::make_item(const std::shared_ptr<MovieState>& state,
                                  std::shared_ptr<PlacedItem> item) {
    return DisplayItem(state, std::move(item));
}

} // namespace detail

// ---- characters ---------------------------------------------------------------------------------

CharacterId Character::define(detail::DefineContext& context) const {
    define_dependencies(context);
    const CharacterId id = context.allocate_id();
    context.defer(*this, id);
    return id;
}

// ---- colour transforms --------------------------------------------------------------------------

ColorTransform ColorTransform::multiply(float r, float g, float b, float a) {
    auto fixed = [](float factor) {
        const float scaled = std::round(factor * 256.0f);
        return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
    };
    return ColorTransform{fixed(r), fixed(g), fixed(b), fixed(a)};
}

// ---- display items ------------------------------------------------------------------------------

DisplayItem::DisplayItem(std::weak_ptr<detail::MovieState> movie, std::shared_ptr<detail::PlacedItem> item)
    : movie_(std::move(movie)), item_(std::move(item)) {}

std::shared_ptr<detail::MovieState> DisplayItem::lock() const {
    auto movie = movie_.lock();
    if (!movie || !item_) {
        throw Error("the display item belongs to no movie");
    }
    return movie;
}

void DisplayItem::move_to(double x, double y) {
    const auto movie = lock();
    if (item_->removed) {
        return;
    }
    Matrix matrix = item_->matrix.value_or(Matrix{});
    matrix.translate_x = Twips::from_pixels(x);
    matrix.translate_y = Twips::from_pixels(y);
    item_->matrix = matrix;
    movie->change(item_);
}

void DisplayItem::set_color_mult(float red, float green, float blue, float alpha) {
    const auto movie = lock();
    if (item_->removed) {
        return;
    }
    item_->color_transform = ColorTransform::multiply(red, green, blue, alpha);
    movie->change(item_);
}

void DisplayItem::remove() {
    lock()->remove(*item_);
}

Depth DisplayItem::depth() const {
    return item_ ? item_->depth : 0;
}

bool DisplayItem::is_removed() const {
    return !item_ || item_->removed;
}

// ---- movie --------------------------------------------------------------------------------------

Movie::Movie(uint8_t version) : state_(std::make_shared<detail::MovieState>()) {
    state_->version = version;
}
Movie::Movie(Movie&&) noexcept = default;
Movie& Movie::operator=(Movie&&) noexcept = default;
Movie::~Movie() = default;

void Movie::set_dimension(double width, double height) {
    state_->stage = Rect{Twips{0}, Twips::from_pixels(width), Twips{0}, Twips::from_pixels(height)};
}

void Movie::set_rate(double frames_per_second) {
    state_->rate = frame_rate_fixed(frames_per_second);
}

void Movie::set_background(uint8_t red, uint8_t green, uint8_t blue) {
    state_->background = Rgba{red, green, blue, 255};
}

DisplayItem Movie::place(std::shared_ptr<const Character> character) {
    return detail::MovieState::make_item(state_, state_->place(character));
}

DisplayItem Movie::add(std::shared_ptr<const Shape> shape) {
    return place(std::move(shape));
}
DisplayItem Movie::add(std::shared_ptr<const Text> text) {
    return place(std::move(text));
}
DisplayItem Movie::add(std::shared_ptr<const Button> button) {
    return place(std::move(button));
}
DisplayItem Movie::add(std::shared_ptr<const PrebuiltClip> clip) {
    return place(std::move(clip));
}

DisplayItem Movie::add(std::shared_ptr<const Bitmap> bitmap) {
    if (!bitmap) {
        throw Error("no bitmap given");
    }
    auto shape = std::make_shared<Shape>();
    const double w = bitmap->width();
    const double h = bitmap->height();
    shape->set_right_fill(shape->add_bitmap_fill(bitmap, BitmapFillKind::Clipped));
    shape->move_pen_to(0, 0);
    shape->draw_line(w, 0);
    shape->draw_line(0, h);
    shape->draw_line(-w, 0);
    shape->draw_line(0, -h);
    shape->end();
    return place(std::move(shape));
}

void Movie::add(const Action& action) {
    state_->append_tag(DoAction{action.bytes()});
    state_->frame_has_content = true;
}

void Movie::next_frame() {
    state_->next_frame();
}

int Movie::frame_count() const {
    return state_->frames;
}

CharacterId Movie::allocate_id() {
    return state_->allocate_id();
}

void Movie::add_definition(RawTag tag) {
    write_raw_tag(tag.code, tag.body, state_->bytes());
    state_->frame_has_content = true;
}

void Movie::add_control_tag(RawTag tag) {
    write_raw_tag(tag.code, tag.body, state_->bytes());
    state_->frame_has_content = true;
}

std::vector<uint8_t> Movie::to_bytes(int compression_level) const {
    MovieHeader header;
    header.version = state_->version;
    header.stage = state_->stage;
    header.frame_rate = state_->rate;
    const bool ends_open_frame = state_->frames == 0 || state_->frame_has_content;
    if (ends_open_frame && state_->frames >= 0xFFFF) {
        throw Error("too many frames: a movie holds at most 65535");
    }
    header.frame_count = static_cast<uint16_t>(state_->frames + (ends_open_frame ? 1 : 0));
    const std::vector<uint8_t> tags = state_->tags_for_file();
    return write_swf_file(header, tags, compression_level);
}

void Movie::write_file(const std::filesystem::path& path, int compression_level) const {
    const std::vector<uint8_t> file = to_bytes(compression_level);
    std::filesystem::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw Error("cannot write the movie file " + path.string());
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        throw Error("cannot write the movie file " + path.string());
    }
}

} // namespace swf
