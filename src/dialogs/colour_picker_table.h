// The colour picker's palette: 40 named colours shown 8 to a row, and how the arrow keys move between
// the cells and the two boxes above and below the grid.
#pragma once

#include <QColor>
#include <QString>

#include <array>

namespace colour_picker {

struct NamedColour {
    const char* name; // tooltip text (English; shown through tr())
    int red, green, blue;
};

inline constexpr int kColumns = 8;
inline constexpr int kColourCount = 40;
inline constexpr int kRows = (kColourCount + kColumns - 1) / kColumns;

// Cell codes: 0..39 the grid, and these.
inline constexpr int kNoCell = -1;
inline constexpr int kCustomCell = -2;    // "More Colours..."
inline constexpr int kAutomaticCell = -3; // "Automatic"

const std::array<NamedColour, kColourCount>& Colours();
QColor ColourAt(int index);

enum class Move { Left, Right, Up, Down };

// The cell the hot cell moves to from `cell`, with or without the two boxes.
int NextCell(int cell, Move move, bool hasAutomatic, bool hasCustom);

// The cell marked as chosen when the popup opens with `colour` (invalid = the automatic value).
int ChosenCell(const QColor& colour, bool hasAutomatic, bool hasCustom);

// "#RRGGBB" in upper-case digits; the automatic value (an invalid colour) gives "#000000".
QString FormatColour(const QColor& colour);
// Reads the hexadecimal number after '#' (red in its high byte); an invalid colour without one.
QColor ParseColour(const QString& text);

} // namespace colour_picker
