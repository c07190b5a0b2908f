// Code generator: walks the syntax tree and emits SWF 6 actions through an Emitter per code block.
#pragma once

#include "swf/as/ast.h"
#include "swf/as/emitter.h"

#include <cstdint> // bytes
#include <vector>  // program, bytes

namespace swf::as {

// Compiles a parsed program to action bytes ending with End; throws CompileFailure.
std::vector<uint8_t> generate(const std::vector<StmtPtr>& program);

} // namespace swf::as
