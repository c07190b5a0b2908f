// The story map's layout: every card a box with its title, every link an arrow to its goto and, when it
// has a condition, a dashed arrow to its then-goto labelled with the condition. Graphviz's layered layout
// (dot) places the boxes and routes the arrows that go down the card order; arrows back up the map and to
// the same card go round the right side of the boxes. Coordinates are points, y growing downwards, origin
// at the top left.
#pragma once

#include "model/project.h"

#include <string>
#include <vector>

namespace check {

struct MapPoint {
    double x = 0;
    double y = 0;
};

struct MapBox {
    int card = 0; // 0-based
    MapPoint centre;
    double width = 0;
    double height = 0;
    std::string title; // as the tree shows it ("[Card 3]" for an untitled card)
};

struct MapArrow {
    int from = 0; // cards, 0-based
    int to = 0;
    int link = 0; // 0-based on its card
    bool then = false;
    std::string label;           // the condition of a then arrow ("score >= 50"), else empty
    std::vector<MapPoint> curve; // cubic Bezier pieces: start, then three points a piece
    MapPoint head;               // the arrow's tip at the target box
    MapPoint labelAt;            // where the label starts (its left end, middle height), when there is one
};

struct StoryMap {
    double width = 0;
    double height = 0;
    std::vector<MapBox> boxes;    // one per card, in card order
    std::vector<MapArrow> arrows; // one per goto and then-goto inside the card list
};

// Lays the project out. Graphviz keeps global state, so layouts from several threads run one at a time.
// Throws std::runtime_error when Graphviz fails.
StoryMap LayOutStoryMap(const model::Project& project);

// The box label of a card: its title, or "[Card n]" when it has none.
std::string BoxTitle(const model::Project& project, int card);
// The label of a then arrow: "score >= 50".
std::string ConditionLabel(const model::CLinkInfo& link);

} // namespace check
