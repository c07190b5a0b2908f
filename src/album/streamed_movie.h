// A movie written tag by tag as it is built, so that memory holds one picture at a time rather than the
// whole movie. The tags go to a spool file beside the target; Finish writes the header (whose frame
// count is known only then) and the spooled tags, zlib-compressed ("CWS") or not, beside the target and
// renames the result over it. A StreamedMovie that is not finished leaves no file behind.
#pragma once

#include "swf/matrix.h"
#include "swf/tags.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace album {

class StreamedMovie {
public:
    // Throws swf::Error when the spool file cannot be created.
    StreamedMovie(std::filesystem::path target, uint8_t version, swf::Rect stage, uint16_t frameRate);
    StreamedMovie(const StreamedMovie&) = delete;
    StreamedMovie& operator=(const StreamedMovie&) = delete;
    ~StreamedMovie();

    // Appends one tag; a ShowFrame counts a frame. Throws swf::Error when the spool cannot be written.
    void Append(const swf::Tag& tag);
    int FrameCount() const { return m_frames; }
    swf::CharacterId AllocateId();

    // Ends the tag list and writes the file; `compressionLevel` -1 for "FWS", 0..9 for "CWS". Throws
    // swf::Error when the file cannot be written (an older file at the target is then left as it was).
    void Finish(int compressionLevel);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    void WriteSpool(const std::vector<uint8_t>& bytes);

    std::filesystem::path m_target;
    std::filesystem::path m_spoolPath;
    std::unique_ptr<std::FILE, FileCloser> m_spool;
    uint8_t m_version;
    swf::Rect m_stage;
    uint16_t m_frameRate;
    uint64_t m_tagBytes = 0;
    int m_frames = 0;
    uint32_t m_nextId = 1;
    std::vector<uint8_t> m_scratch;
};

} // namespace album
