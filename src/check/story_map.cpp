#include "check/story_map.h"

#include <graphviz/gvc.h>

#include <memory>
#include <mutex>
#include <stdexcept>

extern "C" {
extern gvplugin_library_t gvplugin_dot_layout_LTX_library;
}

namespace check {

namespace {

// Graphviz is not re-entrant: every use of it goes through this lock.
std::mutex& GraphvizLock() {
    static std::mutex lock;
    return lock;
}

// Graphviz reads escapes such as "\N" in labels; a title's backslashes are doubled so they show as typed.
std::string LabelText(std::string_view text, size_t maxChars) {
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80 && ++chars > maxChars) {
            out += "...";
            break;
        }
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' || c == '\n') {
            out += ' ';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void Set(void* object, const char* name, const std::string& value) {
    agsafeset(object, const_cast<char*>(name), const_cast<char*>(value.c_str()), const_cast<char*>(""));
}

struct GraphDeleter {
    GVC_t* gvc;
    void operator()(Agraph_t* g) const {
        gvFreeLayout(gvc, g);
        agclose(g);
    }
};

} // namespace

std::string BoxTitle(const model::Project& project, int card) {
    const std::string& title = project.cards[card]->m_strTitle;
    return title.empty() ? "[Card " + std::to_string(card + 1) + "]" : title;
}

std::string ConditionLabel(const model::CLinkInfo& link) {
    return "score " + link.m_strCompare + " " + std::to_string(link.m_nCompareValue);
}

StoryMap LayOutStoryMap(const model::Project& project) {
    const int n = project.CardCount();
    StoryMap map;
    struct Pending {
        MapArrow arrow;
        Agedge_t* edge;
    };
    std::vector<Pending> pending;

    std::lock_guard<std::mutex> hold(GraphvizLock());
    // Only the layered layout is loaded: no plugin configuration is read, and labels are measured by
    // Graphviz's own font tables, the same on every machine.
    const lt_symlist_t builtins[] = {{"gvplugin_dot_layout_LTX_library", &gvplugin_dot_layout_LTX_library},
                                     {nullptr, nullptr}};
    std::unique_ptr<GVC_t, int (*)(GVC_t*)> gvc(gvContextPlugins(builtins, 0), gvFreeContext);
    if (!gvc) {
        throw std::runtime_error("Graphviz could not start");
    }
    Agraph_t* raw = agopen(const_cast<char*>("map"), Agdirected, nullptr);
    if (raw == nullptr) {
        throw std::runtime_error("Graphviz could not make a graph");
    }
    std::unique_ptr<Agraph_t, GraphDeleter> g(raw, GraphDeleter{gvc.get()});
    Set(raw, "rankdir", "TB");
    Set(raw, "nodesep", "0.3");
    Set(raw, "ranksep", "0.45");
    // Fewer crossing-reduction passes: large maps lay out in a fraction of the time, a little less tidy.
    Set(raw, "mclimit", "0.5");
    agattr(raw, AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
    agattr(raw, AGNODE, const_cast<char*>("fontsize"), const_cast<char*>("11"));
    agattr(raw, AGNODE, const_cast<char*>("label"), const_cast<char*>(""));
    agattr(raw, AGEDGE, const_cast<char*>("fontsize"), const_cast<char*>("9"));
    agattr(raw, AGEDGE, const_cast<char*>("label"), const_cast<char*>(""));

    std::vector<Agnode_t*> nodes(n);
    for (int c = 0; c < n; ++c) {
        const std::string name = "c" + std::to_string(c);
        nodes[c] = agnode(raw, const_cast<char*>(name.c_str()), 1);
        Set(nodes[c], "label", LabelText(BoxTitle(project, c), 28));
    }
    for (int c = 0; c < n; ++c) {
        const auto& links = project.cards[c]->m_pLinks->m_pLinkList;
        for (int l = 0; l < static_cast<int>(links.size()); ++l) {
            const model::CLinkInfo& link = *links[l];
            auto add = [&](int to, bool then) {
                if (to < 0 || to >= n) {
                    return; // past the last card: nothing to point at
                }
                const std::string key = std::to_string(c) + "." + std::to_string(l) + (then ? "t" : "g");
                Agedge_t* e = agedge(raw, nodes[c], nodes[to], const_cast<char*>(key.c_str()), 1);
                MapArrow arrow{c, to, l, then, then ? ConditionLabel(link) : std::string(), {}, {}, {}};
                if (then) {
                    Set(e, "label", LabelText(arrow.label, 40));
                }
                pending.push_back({std::move(arrow), e});
            };
            add(link.m_nGoto, false);
            if (!link.m_strCompare.empty()) {
                add(link.m_nThenGoto, true);
            }
        }
    }
    if (gvLayout(gvc.get(), raw, "dot") != 0) {
        throw std::runtime_error("Graphviz could not lay out the map");
    }

    const boxf bb = GD_bb(raw);
    map.width = bb.UR.x - bb.LL.x;
    map.height = bb.UR.y - bb.LL.y;
    auto flip = [&](pointf p) { return MapPoint{p.x - bb.LL.x, bb.UR.y - p.y}; };
    for (int c = 0; c < n; ++c) {
        map.boxes.push_back({c, flip(ND_coord(nodes[c])), ND_width(nodes[c]) * 72.0,
                             ND_height(nodes[c]) * 72.0, BoxTitle(project, c)});
    }
    for (Pending& p : pending) {
        const splines* spl = ED_spl(p.edge);
        if (spl != nullptr && spl->size > 0) {
            const bezier& bz = spl->list[0];
            for (int i = 0; i < bz.size; ++i) {
                p.arrow.curve.push_back(flip(bz.list[i]));
            }
            p.arrow.head = bz.eflag ? flip(bz.ep) : (bz.size > 0 ? flip(bz.list[bz.size - 1]) : MapPoint{});
        }
        if (ED_label(p.edge) != nullptr) {
            p.arrow.labelAt = flip(ED_label(p.edge)->pos);
        }
        map.arrows.push_back(std::move(p.arrow));
    }
    return map;
}

} // namespace check
