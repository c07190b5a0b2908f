// The project file (.cwp): reading and writing it byte for byte in the object-archive encoding: a marker,
// the card list as an archived object graph, then the settings. Text is written as Windows-1252 when
// every character fits, else in the archive's 16-bit form; both are read.
#pragma once

#include "model/project.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace model {

// The one message for any file that cannot be read.
inline constexpr const char* kOldVersionMessage = "Can not load this saved file because of old version.";

// A refused project file. what() says what was wrong (for logs and tests); show kOldVersionMessage.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A project file that could not be written. what() names the cause.
class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Encodes the project (any number of cards, also none).
std::vector<uint8_t> WriteProject(const Project& project);

// Decodes a project; throws ArchiveError. Bytes after the last setting are ignored.
Project ReadProject(std::span<const uint8_t> bytes);

// Reads a project file; throws ArchiveError (also when the file cannot be read). The caller replaces
// its open project only on success, so a refused file changes nothing.
Project LoadProjectFile(const std::filesystem::path& path);

// Writes the project to `path`: the new file is written beside it and renamed over it only when
// complete, so an existing file survives any failure. A project with no cards is never written:
// returns false and leaves the path untouched. Throws SaveError when writing fails.
bool SaveProjectFile(const Project& project, const std::filesystem::path& path);

} // namespace model
