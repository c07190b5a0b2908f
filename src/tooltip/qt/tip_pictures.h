// The pictures tips can show: the program's own (drawn here, by resource number), picture files, and
// pictures registered at run time under a handle (the icon of a help tip).
#pragma once

#include "tooltip/markup_document.h"

#include <QImage>

#include <cstdint>
#include <map>

namespace tooltip {

// The program's own picture `idres`; empty for an unknown number.
QImage ProgramPicture(int idres);

class PictureStore {
public:
    // Registers a picture and returns its handle (never 0).
    std::uint32_t Register(const QImage& image);
    void Release(std::uint32_t handle) { registered_.erase(handle); }

    // The picture a mark-up image names: by handle, by resource number or from a file; strips ("ilst",
    // or "cx"/"cy" given) are cut to the cell at "index".
    QImage Find(const markup::ImageRef& image) const;

private:
    std::map<std::uint32_t, QImage> registered_;
    std::uint32_t next_ = 1;
};

} // namespace tooltip
