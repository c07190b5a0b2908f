// Base64 (RFC 4648, standard alphabet, padded) for the inlined parts of the self-running gift and the
// attachments of a mail draft.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace publish {

// The whole input as one line.
std::string Base64Encode(std::span<const uint8_t> bytes);

// Lines of at most 76 characters joined by CR LF, as MIME bodies want them (a final CR LF included).
std::string Base64EncodeMime(std::span<const uint8_t> bytes);

} // namespace publish
