#include "swf/action.h"

namespace swf {

Action::Action(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (bytes_.empty()) {
        bytes_.push_back(0x00); // End
    }
}

} // namespace swf
