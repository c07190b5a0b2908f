#include "swf/swf_records.h"

namespace swf {

RectTwips read_rect(ByteReader& r) {
    BitReader bits(r);
    const unsigned n = bits.ub(5);
    RectTwips rect;
    rect.x_min = bits.sb(n);
    rect.x_max = bits.sb(n);
    rect.y_min = bits.sb(n);
    rect.y_max = bits.sb(n);
    return rect;
}

MatrixRecord read_matrix(ByteReader& r) {
    BitReader bits(r);
    MatrixRecord m;
    if (bits.flag()) {
        const unsigned n = bits.ub(5);
        m.scale_x = bits.sb(n);
        m.scale_y = bits.sb(n);
    }
    if (bits.flag()) {
        const unsigned n = bits.ub(5);
        m.rotate_skew0 = bits.sb(n);
        m.rotate_skew1 = bits.sb(n);
    }
    const unsigned n = bits.ub(5);
    m.translate_x = bits.sb(n);
    m.translate_y = bits.sb(n);
    return m;
}

CxformRecord read_cxform(ByteReader& r, bool with_alpha) {
    BitReader bits(r);
    const bool has_add = bits.flag();
    const bool has_mult = bits.flag();
    const unsigned n = bits.ub(4);
    const int terms = with_alpha ? 4 : 3;
    CxformRecord c;
    if (has_mult) {
        for (int i = 0; i < terms; ++i) {
            c.mult[i] = bits.sb(n);
        }
    }
    if (has_add) {
        for (int i = 0; i < terms; ++i) {
            c.add[i] = bits.sb(n);
        }
    }
    return c;
}

} // namespace swf
