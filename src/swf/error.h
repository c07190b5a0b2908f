// The movie library's one error type. Reading malformed input, running out of character ids and failing
// to write a file all throw swf::Error with a short message that callers can show or log.
#pragma once

#include <stdexcept>
#include <string>

namespace swf {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace swf
