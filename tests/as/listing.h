// Helpers shared by the compiler tests: compile a script and list it, or compile and expect an error.
#pragma once

#include "swf/as/compiler.h"
#include "swf/as/disassembler.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace as_test {

// The listing of a script that must compile; an error is reported as a test failure and listed.
inline std::string listing(std::string_view source) {
    swf::as::CompileError error;
    const auto bytes = swf::as::compile(source, &error);
    if (!bytes) {
        ADD_FAILURE() << "does not compile: " << error.format("script") << "\n" << source;
        return "error: " + error.format("script");
    }
    return swf::as::disassemble(*bytes);
}

// The error of a script that must not compile, as "line:col: message".
inline std::string error_of(std::string_view source) {
    swf::as::CompileError error;
    const auto bytes = swf::as::compile(source, &error);
    if (bytes) {
        ADD_FAILURE() << "compiles but should not:\n" << source;
        return "compiled";
    }
    return std::to_string(error.pos.line) + ":" + std::to_string(error.pos.column) + ": " + error.message;
}

// The listing without the offset column, for checks of a few actions inside a longer listing.
inline std::string without_offsets(const std::string& listing) {
    std::string out;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        if (end == std::string::npos) {
            end = listing.size();
        }
        std::string line = listing.substr(start, end - start);
        const size_t code = line.find_first_not_of(' ');
        if (code != std::string::npos && line.size() > code + 5 && line[code + 4] == ' ') {
            line.erase(code, 5);
        }
        out += line + "\n";
        start = end + 1;
    }
    return out;
}

} // namespace as_test
