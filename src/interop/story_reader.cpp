// Which of the two story files a file is, told by its content rather than its name.
#include "interop/story_readers.h"

namespace interop {

Story ReadStory(std::string_view bytes) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    auto contains = [&](std::string_view needle) {
        for (size_t i = 0; i + needle.size() <= bytes.size(); ++i) {
            size_t k = 0;
            while (k < needle.size() && lower(bytes[i + k]) == needle[k]) {
                ++k;
            }
            if (k == needle.size()) {
                return true;
            }
        }
        return false;
    };
    std::string_view head = bytes;
    if (head.starts_with("\xEF\xBB\xBF")) {
        head.remove_prefix(3);
    }
    const size_t first = head.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && head.substr(first).starts_with("::")) {
        return ReadTwee(bytes);
    }
    if (contains("<tw-storydata")) {
        return ReadTwineHtml(bytes);
    }
    if (first != std::string_view::npos && head[first] == '<') {
        throw StoryError("an HTML file without a Twine story (no <tw-storydata> element)");
    }
    if (head.find("\n::") != std::string_view::npos) {
        return ReadTwee(bytes);
    }
    throw StoryError("neither a Twee 3 story (passages start with \"::\") nor a Twine 2 HTML story");
}

} // namespace interop
