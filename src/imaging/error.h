// The picture module's one error type: a picture that cannot be read, decoded, scaled or written.
#pragma once

#include <stdexcept>
#include <string>

namespace imaging {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace imaging
