// Prints AVM1 action bytes as a readable listing, one action per line.
#pragma once

#include <cstdint> // uint8_t
#include <span>    // action bytes
#include <string>  // the listing

namespace swf::as {

// One line per action: its byte offset, name and payload ("0007 Push \"score\" 0"); function bodies
// are indented under their DefineFunction. Bytes that do not form an action are listed as such,
// never read past the end.
std::string disassemble(std::span<const uint8_t> actions);

} // namespace swf::as
