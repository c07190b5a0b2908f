#include "imaging/size.h"

#include <algorithm>

namespace imaging {

namespace {

// Truncates toward zero, but a side never vanishes: a picture of 0 pixels cannot be scaled or saved.
int TruncatedSide(double value) {
    return std::max(1, static_cast<int>(value));
}

} // namespace

Size FitKeepingRatio(int pictureWidth, int pictureHeight, int stageWidth, int stageHeight) {
    const double stageRatio = static_cast<double>(stageWidth) / stageHeight;
    const double pictureRatio = static_cast<double>(pictureWidth) / pictureHeight;
    if (stageRatio > pictureRatio) {
        return {TruncatedSide(pictureWidth * (static_cast<double>(stageHeight) / pictureHeight)),
                stageHeight};
    }
    return {stageWidth, TruncatedSide(pictureHeight * (static_cast<double>(stageWidth) / pictureWidth))};
}

Size FitInsideBox(int width, int height, int maxWidth, int maxHeight) {
    if (width <= maxWidth && height <= maxHeight) {
        return {width, height};
    }
    const double w = width;
    const double h = height;
    if (static_cast<double>(maxWidth) / maxHeight > w / h) {
        return {TruncatedSide(w / (h / maxHeight)), maxHeight};
    }
    return {maxWidth, TruncatedSide(h / (w / maxWidth))};
}

} // namespace imaging
