// The zip writer's one error type. Failing to create, write or finish an archive throws CZipException
// with a short message that callers can show or log.
#pragma once

#include <stdexcept>
#include <string>

namespace publish {

class CZipException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace publish
