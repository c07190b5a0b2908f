#include "swf/button.h"

#include "swf/error.h"
#include "swf/movie_state.h"
#include "swf/writer.h"

namespace swf {

void Button::add_shape(std::shared_ptr<const Shape> shape, uint8_t states) {
    if (!shape) {
        throw Error("no shape given for the button");
    }
    if ((states & button_state::all) == 0 || (states & ~button_state::all) != 0) {
        throw Error("button states must be a combination of up 1, over 2, down 4 and hit 8");
    }
    shapes_.push_back(Entry{std::move(shape), states});
}

void Button::add_action(const Action& action, uint16_t conditions) {
    actions_.push_back(ButtonCondAction{conditions, action.bytes()});
}

void Button::define_dependencies(detail::DefineContext& context) const {
    for (const Entry& entry : shapes_) {
        context.require(entry.shape);
    }
}

void Button::encode(CharacterId id, const detail::EncodeContext& context, std::vector<uint8_t>& out) const {
    DefineButton2 tag;
    tag.id = id;
    Depth depth = 1;
    for (const Entry& entry : shapes_) {
        ButtonRecord record;
        record.states = entry.states;
        record.character_id = context.id_of(*entry.shape);
        record.depth = depth++;
        tag.records.push_back(record);
    }
    tag.actions = actions_;
    write_tag(tag, out);
}

} // namespace swf
