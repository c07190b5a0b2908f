// Buttons (DefineButton2): state shapes and actions run on mouse events.
//
//     auto button = std::make_shared<swf::Button>();
//     button->add_shape(face, swf::button_state::up | swf::button_state::down | swf::button_state::hit);
//     button->add_shape(over_face, swf::button_state::over);
//     button->add_action(swf::Action(bytes), swf::button_event::release_over);
#pragma once

#include "swf/action.h"
#include "swf/character.h"
#include "swf/shape.h"

#include <memory>
#include <vector>

namespace swf {

namespace button_state {
inline constexpr uint8_t up = 1;
inline constexpr uint8_t over = 2;
inline constexpr uint8_t down = 4;
inline constexpr uint8_t hit = 8;
inline constexpr uint8_t all = up | over | down | hit;
} // namespace button_state

// Event conditions of button actions (BUTTONCONDACTION flags).
namespace button_event {
inline constexpr uint16_t roll_over = 0x01;       // idle to over-up
inline constexpr uint16_t roll_out = 0x02;        // over-up to idle
inline constexpr uint16_t press = 0x04;           // over-up to over-down
inline constexpr uint16_t release_over = 0x08;    // over-down to over-up
inline constexpr uint16_t drag_out = 0x10;        // over-down to out-down
inline constexpr uint16_t drag_over = 0x20;       // out-down to over-down
inline constexpr uint16_t release_outside = 0x40; // out-down to idle
} // namespace button_event

class Button final : public Character {
public:
    Button() = default;

    // Shows `shape` in the states named by `states` (button_state flags, at least one). Each shape
    // gets its own layer inside the button, in the order added.
    void add_shape(std::shared_ptr<const Shape> shape, uint8_t states);
    // Runs `action` on the events named by `conditions` (button_event flags).
    void add_action(const Action& action, uint16_t conditions);

    struct Entry {
        std::shared_ptr<const Shape> shape;
        uint8_t states;
    };
    const std::vector<Entry>& shapes() const { return shapes_; }
    const std::vector<ButtonCondAction>& actions() const { return actions_; }

private:
    void define_dependencies(detail::DefineContext& context) const override;
    void encode(CharacterId id, const detail::EncodeContext& context,
                std::vector<uint8_t>& out) const override;

    std::vector<Entry> shapes_;
    std::vector<ButtonCondAction> actions_;
};

} // namespace swf
