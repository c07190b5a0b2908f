// Tree labels of cards and links, and the other small rules the window applies to the document.
#pragma once

#include "model/project.h"

#include <string>

namespace editor {

// The card's title, or "[Card N]" (N counted from 1) when it is empty; " {L}" added when it has L links.
std::string CardLabel(const model::Project& project, int card);

// "T (G) [S]", "T [S]", "T (G)" or "T" for the link title T, the title G of the card it jumps to (none
// when the goto index is outside the card list or that title is empty) and a score S other than 0.
std::string LinkLabel(const model::Project& project, const model::CLinkInfo& link);

// True when the card's background or the project's button style is a Flash clip: typing then regenerates
// the preview only when the field loses the focus, since such movies take longer to make and play.
bool UsesFlashBackground(const model::Project& project, const model::CCardInfo& card);

} // namespace editor
