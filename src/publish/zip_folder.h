// Adding a whole folder to an archive.
#pragma once

#include "publish/zip_writer.h"

#include <filesystem>

namespace publish {

// Adds the content of `folder`, recursively, depth first: each subfolder's entry (stored) comes just
// before the entries of its content; files are deflated at the default level. Each folder's listing
// is taken in order of name (byte order), so the archive does not depend on the file system's order.
// Links to folders are not followed (a link may lead back up the tree); other entries that are not
// regular files, and subfolders that cannot be listed, are recorded among the writer's skipped files.
// Throws CZipException when `folder` itself cannot be listed.
void AddFolderToZip(CZipWriter& writer, const std::filesystem::path& folder);

} // namespace publish
