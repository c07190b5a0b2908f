// Twine 2 HTML: <tw-storydata name startnode format> holding one <tw-passagedata pid name tags> per
// passage (its text HTML-escaped), the story stylesheet (<style type="text/twine-css">) and script
// (<script type="text/twine-javascript">). An archive holds several stories; the first is read. The
// page is parsed by libxml2's HTML parser.
#include "interop/story_readers.h"
#include "interop/text_utf8.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>
#include <string>

namespace interop {

namespace {

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};

bool IsElement(const xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE && xmlStrcasecmp(n->name, BAD_CAST name) == 0;
}

std::string Attribute(const xmlNode* n, const char* name) {
    xmlChar* v = xmlGetProp(n, BAD_CAST name);
    if (!v) {
        return {};
    }
    std::string s(reinterpret_cast<const char*>(v));
    xmlFree(v);
    return s;
}

std::string Content(const xmlNode* n) {
    xmlChar* v = xmlNodeGetContent(n);
    if (!v) {
        return {};
    }
    std::string s(reinterpret_cast<const char*>(v));
    xmlFree(v);
    return CheckedText(s); // CR LF to LF
}

// Elements in document order, depth first.
template <typename Fn> void Walk(xmlNode* n, Fn&& fn) {
    for (; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE) {
            if (!fn(n)) {
                Walk(n->children, fn);
            }
        }
    }
}

std::vector<std::string> SplitTags(const std::string& tags) {
    std::vector<std::string> out;
    size_t p = 0;
    while ((p = tags.find_first_not_of(" \t\n", p)) != std::string::npos) {
        const size_t e = tags.find_first_of(" \t\n", p);
        out.push_back(tags.substr(p, e == std::string::npos ? e : e - p));
        p = e;
    }
    return out;
}

void ReadStoryElement(xmlNode* storyNode, Story& story) {
    story.title = Attribute(storyNode, "name");
    story.format = Attribute(storyNode, "format");
    const std::string startPid = Attribute(storyNode, "startnode");
    bool startFound = false;
    Walk(storyNode->children, [&](xmlNode* n) {
        if (IsElement(n, "tw-passagedata")) {
            Passage p{Attribute(n, "name"), SplitTags(Attribute(n, "tags")), Content(n)};
            if (p.name.empty()) {
                story.notes.push_back("a passage without a name (pid \"" + Attribute(n, "pid") +
                                      "\") is left out");
                return true;
            }
            if (!startPid.empty() && Attribute(n, "pid") == startPid && !startFound) {
                story.start = p.name;
                startFound = true;
            }
            story.passages.push_back(std::move(p));
            return true;
        }
        const std::string type = Attribute(n, "type");
        if (IsElement(n, "style") && type == "text/twine-css") {
            story.passages.push_back({"Story Stylesheet", {"stylesheet"}, Content(n)});
            return true;
        }
        if (IsElement(n, "script") && type == "text/twine-javascript") {
            story.passages.push_back({"Story JavaScript", {"script"}, Content(n)});
            return true;
        }
        return false;
    });
    if (!startPid.empty() && !startFound) {
        story.notes.push_back("the start passage (pid \"" + startPid + "\") does not exist");
    }
}

} // namespace

Story ReadTwineHtml(std::string_view html) {
    if (html.size() > size_t(INT_MAX)) {
        throw StoryError("the file is too large");
    }
    const std::string text = CheckedText(html);
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, "UTF-8", options));
    if (!doc) {
        throw StoryError("the HTML file cannot be read");
    }
    std::vector<xmlNode*> stories;
    Walk(xmlDocGetRootElement(doc.get()), [&](xmlNode* n) {
        if (IsElement(n, "tw-storydata")) {
            stories.push_back(n);
            return true;
        }
        return false;
    });
    if (stories.empty()) {
        throw StoryError("the HTML file holds no Twine story (no <tw-storydata> element)");
    }
    Story story;
    ReadStoryElement(stories.front(), story);
    if (stories.size() > 1) {
        story.notes.push_back("the file holds " + std::to_string(stories.size()) +
                              " stories; only the first, \"" + story.title + "\", is read");
    }
    return story;
}
} // namespace interop
