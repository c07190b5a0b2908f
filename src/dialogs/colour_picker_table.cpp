#include "dialogs/colour_picker_table.h"

namespace colour_picker {

const std::array<NamedColour, kColourCount>& Colours() {
    static constexpr std::array<NamedColour, kColourCount> kTable{{
        {"Black", 0, 0, 0},
        {"Brown", 165, 42, 0},
        {"Dark Olive Green", 0, 64, 64},
        {"Dark Green", 0, 85, 0},
        {"Dark Teal", 0, 0, 94},
        {"Dark blue", 0, 0, 139},
        {"Indigo", 75, 0, 130},
        {"Dark grey", 40, 40, 40},
        {"Dark red", 139, 0, 0},
        {"Orange", 255, 104, 32},
        {"Dark yellow", 139, 139, 0},
        {"Green", 0, 147, 0},
        {"Teal", 56, 142, 142},
        {"Blue", 0, 0, 255},
        {"Blue-grey", 123, 123, 192},
        {"Grey - 40", 102, 102, 102},
        {"Red", 255, 0, 0},
        {"Light orange", 255, 173, 91},
        {"Lime", 50, 205, 50},
        {"Sea green", 60, 179, 113},
        {"Aqua", 127, 255, 212},
        {"Light blue", 125, 158, 192},
        {"Violet", 128, 0, 128},
        {"Grey - 50", 127, 127, 127},
        {"Pink", 255, 192, 203},
        {"Gold", 255, 215, 0},
        {"Yellow", 255, 255, 0},
        {"Bright green", 0, 255, 0},
        {"Turquoise", 64, 224, 208},
        {"Skyblue", 192, 255, 255},
        {"Plum", 72, 0, 72},
        {"Light grey", 192, 192, 192},
        {"Rose", 255, 228, 225},
        {"Tan", 210, 180, 140},
        {"Light yellow", 255, 255, 224},
        {"Pale green ", 152, 251, 152},
        {"Pale turquoise", 175, 238, 238},
        {"Pale blue", 104, 131, 139},
        {"Lavender", 230, 230, 250},
        {"White", 255, 255, 255},
    }};
    return kTable;
}

QColor ColourAt(int index) {
    const NamedColour& c = Colours().at(size_t(index));
    return QColor(c.red, c.green, c.blue);
}

namespace {

int AfterLast(bool hasAutomatic, bool hasCustom) {
    return hasCustom ? kCustomCell : hasAutomatic ? kAutomaticCell : 0;
}

int BeforeFirst(bool hasAutomatic, bool hasCustom) {
    return hasAutomatic ? kAutomaticCell : hasCustom ? kCustomCell : kColourCount - 1;
}

} // namespace

int NextCell(int cell, Move move, bool hasAutomatic, bool hasCustom) {
    const bool forward = move == Move::Right || move == Move::Down;
    if (cell == kAutomaticCell) {
        return forward ? 0 : (hasCustom ? kCustomCell : kColourCount - 1);
    }
    if (cell == kCustomCell) {
        return forward ? (hasAutomatic ? kAutomaticCell : 0) : kColourCount - 1;
    }
    if (cell < 0 || cell >= kColourCount) {
        return 0; // nothing hot yet: start at the first cell
    }
    int next = cell;
    switch (move) {
    case Move::Right:
        next = cell + 1;
        break;
    case Move::Left:
        next = cell - 1;
        break;
    case Move::Down:
        next = cell + kColumns;
        break;
    case Move::Up:
        next = cell - kColumns;
        break;
    }
    if (next >= kColourCount) {
        return AfterLast(hasAutomatic, hasCustom);
    }
    if (next < 0) {
        return BeforeFirst(hasAutomatic, hasCustom);
    }
    return next;
}

int ChosenCell(const QColor& colour, bool hasAutomatic, bool hasCustom) {
    if (!colour.isValid() && hasAutomatic) {
        return kAutomaticCell;
    }
    if (colour.isValid()) {
        for (int i = 0; i < kColourCount; ++i) {
            if (ColourAt(i).rgb() == colour.rgb()) {
                return i;
            }
        }
    }
    return hasCustom ? kCustomCell : kNoCell;
}

QString FormatColour(const QColor& colour) {
    if (!colour.isValid()) {
        return QStringLiteral("#000000");
    }
    return QStringLiteral("#%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QColor ParseColour(const QString& text) {
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    if (hash < 0) {
        return {};
    }
    // Like "%x": the longest run of hexadecimal digits after '#'.
    qsizetype end = hash + 1;
    while (end < text.size() && end - hash <= 8 &&
           QStringLiteral("0123456789abcdefABCDEF").contains(text[end])) {
        ++end;
    }
    bool ok = false;
    const uint value = text.mid(hash + 1, end - hash - 1).toUInt(&ok, 16);
    if (!ok) {
        return {};
    }
    return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

} // namespace colour_picker
