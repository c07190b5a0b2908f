// Fuzz target: source text in, action bytes or an error out. Compiled bytes are also listed, and a
// failure must come with a position inside the text.
#include "swf/as/compiler.h"
#include "swf/as/disassembler.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    swf::as::CompileError error;
    const auto bytes = swf::as::compile(source, &error);
    if (bytes) {
        if (bytes->empty() || bytes->back() != 0x00) {
            std::abort(); // every script ends with the End action
        }
        (void)swf::as::disassemble(*bytes);
    } else if (error.message.empty() || error.pos.line < 1 || error.pos.column < 1) {
        std::abort();
    }
    (void)swf::as::disassemble(std::span<const uint8_t>(data, size)); // any bytes as actions
    return 0;
}
