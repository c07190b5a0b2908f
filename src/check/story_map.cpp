#include "check/story_map.h"

#include <graphviz/gvc.h>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <tuple>

namespace check {

namespace {

// Graphviz is not re-entrant: every use of it goes through this lock.
std::mutex& GraphvizLock() {
    static std::mutex lock;
    return lock;
}

// The layered layout lives in a plugin in Graphviz's private folder (shipped with libgvc itself). It is
// opened once and stays loaded; the context is given it directly, so no plugin configuration is read.
gvplugin_library_t* DotLayoutPlugin() {
    static gvplugin_library_t* const plugin = []() -> gvplugin_library_t* {
        void* handle = dlopen(CW_GRAPHVIZ_DOT_PLUGIN, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            handle = dlopen("libgvplugin_dot_layout.so.6", RTLD_NOW | RTLD_LOCAL);
        }
        return handle == nullptr
                   ? nullptr
                   : static_cast<gvplugin_library_t*>(dlsym(handle, "gvplugin_dot_layout_LTX_library"));
    }();
    return plugin;
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

namespace {

MapPoint OnCurve(const std::vector<MapPoint>& curve) {
    // The middle of the middle piece: a good enough place for a label.
    const size_t pieces = (curve.size() - 1) / 3;
    if (pieces == 0) {
        return curve.empty() ? MapPoint{} : curve.front();
    }
    const size_t i = 3 * (pieces / 2);
    const MapPoint &p0 = curve[i], &p1 = curve[i + 1], &p2 = curve[i + 2], &p3 = curve[i + 3];
    return {(p0.x + 3 * p1.x + 3 * p2.x + p3.x) / 8, (p0.y + 3 * p1.y + 3 * p2.y + p3.y) / 8};
}

// An arrow back up the map (or to its own card) leaves its box on the right and comes round, right of
// every box on the rows between, to the right side of its target; each further one into the same card
// swings a little wider.
void RouteBack(MapArrow& arrow, const std::vector<MapBox>& boxes, int nth) {
    const MapBox& from = boxes[arrow.from];
    const MapBox& to = boxes[arrow.to];
    const double sx = from.centre.x + from.width / 2;
    const double tx = to.centre.x + to.width / 2;
    const double sy = from.centre.y + (arrow.from == arrow.to ? -from.height / 4 : 0);
    const double ty = to.centre.y + (arrow.from == arrow.to ? to.height / 4 : 0);
    double right = std::max(sx, tx);
    for (const MapBox& b : boxes) {
        if (b.centre.y + b.height / 2 >= std::min(sy, ty) && b.centre.y - b.height / 2 <= std::max(sy, ty)) {
            right = std::max(right, b.centre.x + b.width / 2);
        }
    }
    const double out = right + 14 + 8 * nth;
    arrow.curve = {{sx, sy}, {out, sy}, {out, ty}, {tx + 8, ty}};
    arrow.head = {tx, ty};
}

} // namespace

StoryMap LayOutStoryMap(const model::Project& project) {
    const int n = project.CardCount();
    StoryMap map;
    for (int c = 0; c < n; ++c) {
        const auto& links = project.cards[c]->m_pLinks->m_pLinkList;
        for (int l = 0; l < static_cast<int>(links.size()); ++l) {
            const model::CLinkInfo& link = *links[l];
            auto add = [&](int to, bool then) {
                if (to >= 0 && to < n) { // past the last card: nothing to point at
                    map.arrows.push_back(
                        {c, to, l, then, then ? ConditionLabel(link) : std::string(), {}, {}, {}});
                }
            };
            add(link.m_nGoto, false);
            if (!link.m_strCompare.empty()) {
                add(link.m_nThenGoto, true);
            }
        }
    }

    std::lock_guard<std::mutex> hold(GraphvizLock());
    // Only the layered layout is loaded: labels are measured by Graphviz's own font tables, the same on
    // every machine.
    gvplugin_library_t* const dot = DotLayoutPlugin();
    if (dot == nullptr) {
        throw std::runtime_error("Graphviz's layered layout (" CW_GRAPHVIZ_DOT_PLUGIN ") cannot be loaded");
    }
    const lt_symlist_t builtins[] = {{"gvplugin_dot_layout_LTX_library", dot}, {nullptr, nullptr}};
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
    // Bounded crossing reduction and positioning: a full map of 200 cards lays out in a fraction of a
    // second instead of many, a little less tidy.
    Set(raw, "mclimit", "0.15");
    Set(raw, "nslimit", "2");
    Set(raw, "nslimit1", "2");
    agattr(raw, AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
    agattr(raw, AGNODE, const_cast<char*>("fontsize"), const_cast<char*>("11"));
    // Boxes are sized by Graphviz's own table of a sans-serif face, as the views draw their titles.
    agattr(raw, AGNODE, const_cast<char*>("fontname"), const_cast<char*>("Helvetica"));
    agattr(raw, AGNODE, const_cast<char*>("label"), const_cast<char*>(""));

    std::vector<Agnode_t*> nodes(n);
    for (int c = 0; c < n; ++c) {
        const std::string name = "c" + std::to_string(c);
        nodes[c] = agnode(raw, const_cast<char*>(name.c_str()), 1);
        Set(nodes[c], "label", LabelText(BoxTitle(project, c), 28));
    }
    // Graphviz routes the arrows down the card order, one edge for all the gotos (or all the then-gotos)
    // from one card to another; the layers follow them. Arrows back up and to the same card are drawn
    // round the side afterwards: given to Graphviz, each would thread through every layer between and
    // make a large map take seconds.
    std::map<std::tuple<int, int, bool>, Agedge_t*> edges;
    for (const MapArrow& a : map.arrows) {
        if (a.to > a.from && !edges.contains({a.from, a.to, a.then})) {
            const std::string key = std::to_string(edges.size());
            edges[{a.from, a.to, a.then}] =
                agedge(raw, nodes[a.from], nodes[a.to], const_cast<char*>(key.c_str()), 1);
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
    std::vector<int> backInto(n, 0);
    // Arrows that share one route (two answers to the same card) are set side by side, 6 points apart.
    std::map<std::tuple<int, int, bool>, int> sharing;
    for (const MapArrow& a : map.arrows) {
        ++sharing[{a.from, a.to, a.then}];
    }
    std::map<std::tuple<int, int, bool>, int> placed;
    for (MapArrow& a : map.arrows) {
        if (a.to <= a.from) {
            RouteBack(a, map.boxes, backInto[a.to]++);
        } else if (const splines* spl = ED_spl(edges.at({a.from, a.to, a.then}));
                   spl != nullptr && spl->size > 0) {
            const std::tuple<int, int, bool> key{a.from, a.to, a.then};
            const double dx = 6.0 * (placed[key]++ - (sharing[key] - 1) / 2.0);
            const bezier& bz = spl->list[0];
            for (int i = 0; i < bz.size; ++i) {
                a.curve.push_back(flip(bz.list[i]));
                a.curve.back().x += dx;
            }
            a.head = bz.eflag ? flip(bz.ep) : a.curve.back();
            a.head.x += bz.eflag ? dx : 0;
        }
        if (a.then) {
            a.labelAt = OnCurve(a.curve);
            map.width = std::max(map.width, a.labelAt.x + 4 + 5.5 * a.label.size()); // about 9 px type
        }
        for (const MapPoint& p : a.curve) {
            map.width = std::max(map.width, p.x + 4);
        }
    }
    return map;
}

} // namespace check
