// Compiled actions: ActionScript bytecode as the compiler hands it over, ending with the End action.
// Added to a movie it becomes one DoAction tag in the current frame; attached to a button it runs on
// the button's events.
#pragma once

#include <cstdint>
#include <vector>

namespace swf {

class Action {
public:
    // `bytes` are action records ending with the End action (0x00); an empty vector becomes just End.
    explicit Action(std::vector<uint8_t> bytes);

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace swf
