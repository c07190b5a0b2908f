// compile(): parse, generate, and turn every failure into a CompileError.
#include "swf/as/compiler.h"

#include "swf/as/codegen.h"
#include "swf/as/parser.h"

#include <new> // bad_alloc

namespace swf::as {

std::string CompileError::format(std::string_view file_name) const {
    return std::string(file_name) + ":" + std::to_string(pos.line) + ":" + std::to_string(pos.column) + ": " +
           message;
}

std::optional<std::vector<uint8_t>> compile(std::string_view source, CompileError* error) {
    try {
        Parser parser(source);
        const Program program = parser.parse_program();
        return generate(program.body);
    } catch (const CompileFailure& failure) {
        if (error) {
            *error = failure.error;
        }
    } catch (const std::bad_alloc&) {
        if (error) {
            *error = CompileError{{}, "script too large"};
        }
    }
    return std::nullopt;
}

} // namespace swf::as
