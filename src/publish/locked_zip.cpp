#include "publish/locked_zip.h"

#include "publish/zip_folder.h"

namespace publish {

std::filesystem::path LockedZipPath(const std::filesystem::path& movie) {
    std::filesystem::path archive = movie;
    archive += ".zip";
    return archive;
}

std::vector<PublishMessage> BuildLockedZip(const std::filesystem::path& archive,
                                           const std::filesystem::path& folder, std::string_view password,
                                           const CZipOptions& options) {
    std::vector<PublishMessage> messages;
    CZipWriter writer(options);

    bool built = true;
    try {
        writer.create(archive);
        if (!password.empty()) {
            writer.set_password(password);
        }
        AddFolderToZip(writer, folder);
    } catch (const CZipException& e) {
        built = false;
        messages.push_back({MessageIcon::Stop, std::string(kZipCreateFailed), e.what()});
    }

    bool closed = true;
    try {
        if (built) {
            writer.close();
        } else {
            writer.abandon(); // never put a half archive in place of an earlier one
        }
    } catch (const CZipException& e) {
        closed = false;
        messages.push_back({MessageIcon::Stop, std::string(kZipCloseFailed), e.what()});
    }

    std::vector<PublishMessage> result;
    for (const ZipSkippedFile& skipped : writer.skipped_files()) {
        result.push_back(
            {MessageIcon::Warning, "Not in the zip file: " + skipped.path.string(), skipped.reason});
    }
    if (built && closed) {
        result.push_back({MessageIcon::Information, std::string(kZipCreated), {}});
    }
    result.insert(result.end(), messages.begin(), messages.end());
    return result;
}

} // namespace publish
