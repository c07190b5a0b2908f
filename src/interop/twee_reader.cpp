// Twee 3: passages start with a header line ":: Name [tags] {metadata}"; their text runs to the next
// header, trailing blank lines left out. StoryTitle and StoryData hold the story's own data.
#include "interop/story_readers.h"
#include "interop/text_utf8.h"

#include <nlohmann/json.hpp>

#include <string>

namespace interop {

namespace {

struct Header {
    std::string name;
    std::vector<std::string> tags;
    bool badMetadata = false;
};

// Reads up to an unescaped character of `stops`; a backslash takes the next character as it is.
std::string ReadEscaped(std::string_view line, size_t& i, std::string_view stops) {
    std::string out;
    while (i < line.size() && stops.find(line[i]) == std::string_view::npos) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        out += line[i++];
    }
    return out;
}

std::string TrimSpaces(std::string s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

Header ParseHeader(std::string_view line, size_t lineNo) {
    Header h;
    size_t i = 2; // after "::"
    h.name = TrimSpaces(ReadEscaped(line, i, "[{"));
    if (h.name.empty()) {
        throw StoryError("line " + std::to_string(lineNo) + ": a passage header without a name");
    }
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    if (i < line.size() && line[i] == '[') {
        ++i;
        const std::string tags = ReadEscaped(line, i, "]");
        if (i >= line.size()) {
            throw StoryError("line " + std::to_string(lineNo) + ": the tag list of \"" + h.name +
                             "\" is not closed");
        }
        ++i;
        size_t p = 0;
        while (p < tags.size()) {
            const size_t b = tags.find_first_not_of(" \t", p);
            if (b == std::string::npos) {
                break;
            }
            const size_t e = tags.find_first_of(" \t", b);
            h.tags.push_back(tags.substr(b, e == std::string::npos ? std::string::npos : e - b));
            p = e == std::string::npos ? tags.size() : e;
        }
    }
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    if (i < line.size()) {
        // Metadata (position and size in the Twine editor) is not needed; it only has to be sound.
        h.badMetadata = !nlohmann::json::accept(line.substr(i));
    }
    return h;
}

void ReadStoryData(Story& story, const std::string& text) {
    const nlohmann::json data = nlohmann::json::parse(text, nullptr, false);
    if (!data.is_object()) {
        story.notes.push_back("StoryData is not a JSON object; it is ignored");
        return;
    }
    if (auto it = data.find("start"); it != data.end() && it->is_string()) {
        story.start = it->get<std::string>();
    }
    if (auto it = data.find("format"); it != data.end() && it->is_string()) {
        story.format = it->get<std::string>();
    }
}

} // namespace

Story ReadTwee(std::string_view text) {
    const std::string clean = CheckedText(text);
    Story story;
    std::vector<std::string_view> lines; // of the passage being read
    size_t lineNo = 0;
    bool strayText = false;
    auto blank = [](std::string_view l) { return l.find_first_not_of(" \t") == std::string_view::npos; };
    auto finish = [&] {
        while (!lines.empty() && blank(lines.back())) {
            lines.pop_back();
        }
        if (!story.passages.empty()) {
            std::string& t = story.passages.back().text;
            for (size_t i = 0; i < lines.size(); ++i) {
                t += i ? "\n" : "";
                t += lines[i];
            }
        }
        lines.clear();
    };
    size_t pos = 0;
    while (pos <= clean.size()) {
        size_t end = clean.find('\n', pos);
        if (end == std::string::npos) {
            end = clean.size();
        }
        const std::string_view line(clean.data() + pos, end - pos);
        ++lineNo;
        if (line.starts_with("::")) {
            finish();
            Header h = ParseHeader(line, lineNo);
            if (h.badMetadata) {
                story.notes.push_back("passage \"" + h.name + "\": its metadata is not JSON; it is ignored");
            }
            story.passages.push_back({std::move(h.name), std::move(h.tags), {}});
        } else if (!story.passages.empty()) {
            lines.push_back(line);
        } else if (!blank(line)) {
            strayText = true;
        }
        pos = end + 1;
    }
    finish();
    if (story.passages.empty()) {
        throw StoryError("no passage found (a Twee passage starts with a line \":: Name\")");
    }
    if (strayText) {
        story.notes.push_back("text before the first passage is ignored");
    }
    for (const Passage& p : story.passages) {
        if (p.name == "StoryTitle") {
            story.title = TrimSpaces(p.text);
        } else if (p.name == "StoryData") {
            ReadStoryData(story, p.text);
        }
    }
    return story;
}

} // namespace interop
