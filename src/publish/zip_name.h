// Entry names as stored in the archive: CP437 (the code page every zip tool assumes when bit 11 is
// clear) whenever every character fits, otherwise UTF-8 with general purpose bit 11, so no name is
// garbled.
#pragma once

#include <string>
#include <string_view>

namespace publish {

struct ZipName {
    std::string bytes;
    bool utf8 = false; // store with general purpose bit 11 set
};

// From a file name as the file system gives it (UTF-8). A name that is not valid UTF-8 is kept as its
// bytes without bit 11.
ZipName EncodeZipName(std::string_view name);

} // namespace publish
