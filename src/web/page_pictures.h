// The pictures of a web page: each stored once however many cards show it, as the movie would show it.
#pragma once

#include "movie/gift_builder.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace web {

// A picture of the page, stored once however many cards show it.
struct StoredPicture {
    std::string mime;
    std::vector<uint8_t> bytes;
    int width = 0;
    int height = 0;
};

class PictureStore {
public:
    // The index of the picture with these bytes, stored on first sight.
    size_t Add(StoredPicture picture) {
        const std::string key(picture.bytes.begin(), picture.bytes.end());
        const auto found = m_index.find(key);
        if (found != m_index.end()) {
            return found->second;
        }
        m_pictures.push_back(std::move(picture));
        return m_index[key] = m_pictures.size() - 1;
    }
    const StoredPicture& at(size_t i) const { return m_pictures[i]; }
    size_t size() const { return m_pictures.size(); }

private:
    std::vector<StoredPicture> m_pictures;
    std::map<std::string, size_t> m_index;
};

// The picture the movie would show for `source`: a .dbl as it is (here as PNG), anything else converted
// by the builder to JPEG (PNG with transparency) at the project's quality. nullopt when there is none
// (a missing or unreadable picture, which the movie leaves out too).
std::optional<StoredPicture> LoadPicture(movie::GiftBuilder& builder, const std::filesystem::path& source,
                                         int cardIndex, int code);

// The bytes of a file; throws WebError when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);

} // namespace web
