// The ActionScript compiler: ActionScript 1 source, as Flash 6 players run it, to AVM1 action bytes.
#pragma once

#include <cstdint>     // uint8_t
#include <optional>    // compile's result
#include <string>      // CompileError::message
#include <string_view> // source text
#include <vector>      // action bytes

namespace swf::as {

// A place in the source text; both counts start at 1.
struct SourcePos {
    int line = 1;
    int column = 1;
};

// The first error of a script that does not compile.
struct CompileError {
    SourcePos pos;
    std::string message;

    // "file:line:col: message".
    std::string format(std::string_view file_name) const;
};

// Compiles a script into action records for a DoAction body or a button condition action, ending with
// the End action (0x00). Returns nullopt, and the first error in `error` when given, when the script
// does not compile. Holds no state between calls; never throws for any input.
std::optional<std::vector<uint8_t>> compile(std::string_view source, CompileError* error = nullptr);

} // namespace swf::as
