#include "imaging/jpeg_eighth.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace imaging {

namespace {

// Larger pictures are left to the full decoder (the planes below would grow with them).
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;
// Codes up to this length are found with one table look-up; longer ones (rare) bit by bit.
constexpr int kLookupBits = 11;

uint16_t Be16(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}

// A Huffman table with two fast look-ups by the next kLookupBits bits: the code length and symbol (for DC
// values), and for AC coefficients the whole step: bits to skip (code and value) and how far the
// coefficient index moves.
class HuffmanTable {
public:
    static constexpr uint8_t kEndOfBlock = 0;
    static constexpr uint8_t kLongCode = 0xFF;

    // counts[l - 1] codes of length l, then the symbols in code order; false when the table is unusable.
    bool Build(std::span<const uint8_t, 16> counts, std::span<const uint8_t> symbols, bool ac) {
        std::copy(symbols.begin(), symbols.end(), symbols_.begin());
        fast_.fill({});
        steps_.fill({0, kLongCode});
        uint32_t code = 0;
        size_t index = 0;
        for (int length = 1; length <= 16; ++length) {
            const int n = counts[length - 1];
            firstIndex_[length] = int(index) - int(code);
            for (int i = 0; i < n; ++i, ++code, ++index) {
                if (code >= (uint32_t(1) << length)) {
                    return false; // more codes than the length has room for
                }
                const uint8_t symbol = symbols[index];
                if ((ac && (symbol & 15) > 10) || (!ac && symbol > 11)) {
                    return false; // larger than any 8-bit picture has
                }
                if (length <= kLookupBits) {
                    const int spread = 1 << (kLookupBits - length);
                    for (int j = 0; j < spread; ++j) {
                        const size_t slot = (code << (kLookupBits - length)) | j;
                        fast_[slot] = {uint8_t(length), symbol};
                        steps_[slot] = AcStep(length, symbol);
                    }
                }
            }
            if (code >= (uint32_t(1) << length)) {
                return false; // the all-ones code is not used, as libjpeg demands
            }
            lastCode_[length] = n > 0 ? int32_t(code) - 1 : -1;
            code <<= 1;
        }
        return true;
    }

    struct Entry {
        uint8_t length = 0; // 0: a longer code
        uint8_t symbol = 0;
    };
    // One AC coefficient.
    struct Step {
        uint8_t bits;    // code and value bits together
        uint8_t advance; // kEndOfBlock, kLongCode or how far the coefficient index moves
    };
    const Entry& Fast(uint32_t next) const { return fast_[next]; }
    const Step& Steps(uint32_t next) const { return steps_[next]; }

    static Step AcStep(int length, uint8_t symbol) {
        const int run = symbol >> 4;
        const int size = symbol & 15;
        if (size == 0) {
            // Sixteen zeros, or (any other run) the end of the block, as libjpeg reads it.
            return {uint8_t(length), run == 15 ? uint8_t(16) : kEndOfBlock};
        }
        return {uint8_t(length + size), uint8_t(run + 1)};
    }

    // The symbol of a code longer than kLookupBits, given the next 16 bits; its length in `length`.
    std::optional<uint8_t> LongCode(uint32_t next16, int& length) const {
        for (length = kLookupBits + 1; length <= 16; ++length) {
            const int32_t code = int32_t(next16 >> (16 - length));
            if (code <= lastCode_[length]) {
                const int32_t index = firstIndex_[length] + code;
                return index >= 0 && index < 256 ? std::optional<uint8_t>(symbols_[size_t(index)])
                                                 : std::nullopt;
            }
        }
        return std::nullopt;
    }

private:
    std::array<Entry, 1 << kLookupBits> fast_{};
    std::array<Step, 1 << kLookupBits> steps_{};
    std::array<uint8_t, 256> symbols_{};
    std::array<int32_t, 17> lastCode_{};
    std::array<int32_t, 17> firstIndex_{};
};

// Takes the 0xFF 0x00 stuffing out of the entropy-coded data that starts at `begin`, in place (the data
// only shrinks), up to the first marker that is not the next restart marker, and puts zeros after it so
// the bit reader may read ahead without a bounds check. Gives where each restart interval ends, counted
// from `begin`.
std::vector<size_t> Destuff(std::vector<uint8_t>& bytes, size_t begin) {
    std::vector<size_t> intervalEnds;
    uint8_t* const start = bytes.data() + begin;
    uint8_t* out = start;
    const uint8_t* p = start;
    const uint8_t* const end = bytes.data() + bytes.size();
    int restarts = 0;
    while (p < end) {
        const auto* mark = static_cast<const uint8_t*>(std::memchr(p, 0xFF, size_t(end - p)));
        const uint8_t* runEnd = mark ? mark : end;
        std::memmove(out, p, size_t(runEnd - p));
        out += runEnd - p;
        p = runEnd;
        while (p + 1 < end && p[1] == 0xFF) {
            ++p; // fill bytes before a marker
        }
        if (p + 1 >= end) {
            break;
        }
        if (p[1] == 0) {
            *out++ = 0xFF;
        } else if (p[1] == 0xD0 + (restarts & 7)) {
            intervalEnds.push_back(size_t(out - start));
            ++restarts;
        } else {
            break; // the end of the scan
        }
        p += 2;
    }
    intervalEnds.push_back(size_t(out - start));
    bytes.resize(begin + intervalEnds.back());
    bytes.resize(bytes.size() + kJpegEighthSlack, 0);
    return intervalEnds;
}

// Reads bits from the top of a 64-bit buffer. The refill needs no branch and no bounds check (Fabian
// Giesen's "variant 4"): the data is padded, and the decoder checks the position after every unit.
class BitReader {
public:
    explicit BitReader(const uint8_t* begin) : begin_(begin), p_(begin) {}

    // Afterwards at least 56 bits are ready.
    void Refill() {
        uint64_t word;
        std::memcpy(&word, p_, 8);
        buffer_ |= __builtin_bswap64(word) >> count_;
        p_ += (63 - count_) >> 3;
        count_ |= 56;
    }
    uint32_t Peek(int n) const { return uint32_t(buffer_ >> (64 - n)); }
    void Skip(int n) {
        buffer_ <<= n;
        count_ -= n;
    }
    // The number of bits taken so far.
    size_t Position() const { return size_t(p_ - begin_) * 8 - size_t(count_); }
    // Goes on at byte `offset` (the start of a restart interval).
    void Restart(size_t offset) {
        p_ = begin_ + offset;
        buffer_ = 0;
        count_ = 0;
    }

private:
    const uint8_t* begin_;
    const uint8_t* p_;
    uint64_t buffer_ = 0; // left-aligned
    int count_ = 0;
};

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    int quantTable = 0;
    int dcTable = 0;
    int acTable = 0;
    int blocksWide = 0;
    int blocksHigh = 0;
    std::vector<uint8_t> plane; // one value per block: the block's average
};

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<Component> components;
    int hMax = 1;
    int vMax = 1;
};

class Decoder {
public:
    explicit Decoder(std::vector<uint8_t> jpeg) : bytes_(std::move(jpeg)), data_(bytes_) {}

    std::optional<JpegEighth> Run() {
        if (data_.size() < 4 || data_[0] != 0xFF || data_[1] != 0xD8) {
            return std::nullopt;
        }
        size_t pos = 2;
        while (true) {
            if (pos >= data_.size() || data_[pos] != 0xFF) {
                return std::nullopt;
            }
            while (pos < data_.size() && data_[pos] == 0xFF) {
                ++pos;
            }
            if (pos >= data_.size()) {
                return std::nullopt;
            }
            const uint8_t marker = data_[pos++];
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
                continue; // markers without a segment
            }
            if (marker == 0xD9 || pos + 2 > data_.size()) {
                return std::nullopt; // no scan
            }
            const size_t length = Be16(&data_[pos]);
            if (length < 2 || pos + length > data_.size()) {
                return std::nullopt;
            }
            const std::span<const uint8_t> segment = data_.subspan(pos + 2, length - 2);
            pos += length;
            bool ok = true;
            switch (marker) {
            case 0xC0:
            case 0xC1:
                ok = ReadFrame(segment);
                break;
            case 0xC4:
                ok = ReadHuffmanTables(segment);
                break;
            case 0xDB:
                ok = ReadQuantTables(segment);
                break;
            case 0xDD:
                ok = segment.size() >= 2;
                restartInterval_ = ok ? Be16(segment.data()) : 0;
                break;
            case 0xE1:
                ReadExif(segment);
                break;
            case 0xEE:
                ok = ReadAdobe(segment);
                break;
            case 0xDA:
                return ReadScan(segment) ? DecodeScan(pos) : std::nullopt;
            default:
                // Other frame kinds (progressive, lossless, arithmetic coding) are for the full decoder.
                ok = !(marker >= 0xC2 && marker <= 0xCF);
                break;
            }
            if (!ok) {
                return std::nullopt;
            }
        }
    }

private:
    bool ReadFrame(std::span<const uint8_t> s) {
        if (!frame_.components.empty() || s.size() < 6 || s[0] != 8) {
            return false;
        }
        frame_.height = Be16(&s[1]);
        frame_.width = Be16(&s[3]);
        const int count = s[5];
        if (frame_.width == 0 || frame_.height == 0 || (count != 1 && count != 3) ||
            s.size() < size_t(6 + 3 * count) ||
            uint64_t(frame_.width) * uint64_t(frame_.height) > kMaxPixels) {
            return false;
        }
        for (int i = 0; i < count; ++i) {
            const uint8_t* c = &s[6 + 3 * i];
            Component component;
            component.id = c[0];
            component.h = c[1] >> 4;
            component.v = c[1] & 15;
            component.quantTable = c[2];
            if (component.h < 1 || component.h > 4 || component.v < 1 || component.v > 4 ||
                component.quantTable > 3) {
                return false;
            }
            if (count == 1) {
                component.h = component.v = 1; // a single component is never interleaved
            }
            frame_.hMax = std::max(frame_.hMax, component.h);
            frame_.vMax = std::max(frame_.vMax, component.v);
            frame_.components.push_back(component);
        }
        int blocksPerUnit = 0;
        for (const Component& c : frame_.components) {
            if (frame_.hMax % c.h != 0 || frame_.vMax % c.v != 0) {
                return false;
            }
            blocksPerUnit += c.h * c.v;
        }
        // Three component ids R, G, B mean RGB rather than YCbCr.
        const bool rgbIds = count == 3 && frame_.components[0].id == 'R' && frame_.components[1].id == 'G' &&
                            frame_.components[2].id == 'B';
        return blocksPerUnit <= 10 && !rgbIds;
    }

    bool ReadHuffmanTables(std::span<const uint8_t> s) {
        while (!s.empty()) {
            if (s.size() < 17) {
                return false;
            }
            const int tableClass = s[0] >> 4;
            const int id = s[0] & 15;
            size_t total = 0;
            for (int i = 1; i <= 16; ++i) {
                total += s[i];
            }
            if (tableClass > 1 || id > 3 || total > 256 || s.size() < 17 + total) {
                return false;
            }
            HuffmanTable& table = tableClass == 0 ? dc_[id] : ac_[id];
            if (!table.Build(s.subspan<1, 16>(), s.subspan(17, total), tableClass == 1)) {
                return false;
            }
            (tableClass == 0 ? haveDc_ : haveAc_)[id] = true;
            s = s.subspan(17 + total);
        }
        return true;
    }

    bool ReadQuantTables(std::span<const uint8_t> s) {
        while (!s.empty()) {
            const int precision = s[0] >> 4;
            const int id = s[0] & 15;
            const size_t size = precision == 0 ? 65 : 129;
            if (precision > 1 || id > 3 || s.size() < size) {
                return false;
            }
            // Only the DC step matters here; it comes first in either order.
            quantDc_[id] = precision == 0 ? s[1] : Be16(&s[1]);
            haveQuant_[id] = true;
            s = s.subspan(size);
        }
        return true;
    }

    void ReadExif(std::span<const uint8_t> s) {
        static constexpr uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
        if (!haveExif_ && s.size() > sizeof kExif &&
            std::equal(std::begin(kExif), std::end(kExif), s.begin())) {
            haveExif_ = true;
            orientation_ = ReadExifOrientation(s.subspan(sizeof kExif));
        }
    }

    // An Adobe segment with transform 0 marks three components as RGB.
    bool ReadAdobe(std::span<const uint8_t> s) {
        static constexpr uint8_t kAdobe[] = {'A', 'd', 'o', 'b', 'e'};
        if (s.size() >= 12 && std::equal(std::begin(kAdobe), std::end(kAdobe), s.begin())) {
            return s[11] != 0;
        }
        return true;
    }

    bool ReadScan(std::span<const uint8_t> s) {
        const size_t count = frame_.components.size();
        if (count == 0 || s.empty() || s[0] != count || s.size() < 1 + 2 * count + 3) {
            return false; // a picture in several scans is for the full decoder
        }
        for (size_t i = 0; i < count; ++i) {
            const uint8_t id = s[1 + 2 * i];
            const auto it = std::find_if(frame_.components.begin(), frame_.components.end(),
                                         [&](const Component& c) { return c.id == id; });
            if (it == frame_.components.end() ||
                std::find(order_.begin(), order_.end(), size_t(it - frame_.components.begin())) !=
                    order_.end()) {
                return false;
            }
            it->dcTable = s[2 + 2 * i] >> 4;
            it->acTable = s[2 + 2 * i] & 15;
            if (it->dcTable > 3 || it->acTable > 3 || !haveDc_[size_t(it->dcTable)] ||
                !haveAc_[size_t(it->acTable)] || !haveQuant_[size_t(it->quantTable)]) {
                return false;
            }
            order_.push_back(size_t(it - frame_.components.begin()));
        }
        const uint8_t* tail = &s[1 + 2 * count];
        return tail[0] == 0 && tail[1] == 63 && tail[2] == 0; // the whole spectrum, no approximation
    }

    std::optional<JpegEighth> DecodeScan(size_t pos) {
        const int unitWidth = 8 * frame_.hMax;
        const int unitHeight = 8 * frame_.vMax;
        const int unitsWide = (frame_.width + unitWidth - 1) / unitWidth;
        const int unitsHigh = (frame_.height + unitHeight - 1) / unitHeight;
        // The blocks of one unit, in order, as (component, column, row within the unit).
        struct BlockPlace {
            size_t component;
            int dx;
            int dy;
        };
        std::vector<BlockPlace> unit;
        for (size_t index : order_) {
            Component& c = frame_.components[index];
            c.blocksWide = unitsWide * c.h;
            c.blocksHigh = unitsHigh * c.v;
            c.plane.assign(size_t(c.blocksWide) * size_t(c.blocksHigh), 0);
            for (int dy = 0; dy < c.v; ++dy) {
                for (int dx = 0; dx < c.h; ++dx) {
                    unit.push_back({index, dx, dy});
                }
            }
        }

        data_ = {};
        const std::vector<size_t> intervalEnds = Destuff(bytes_, pos);
        BitReader bits(bytes_.data() + pos);
        std::array<int32_t, 4> predictor{};
        int unitsToRestart = restartInterval_;
        size_t interval = 0;
        for (int uy = 0; uy < unitsHigh; ++uy) {
            for (int ux = 0; ux < unitsWide; ++ux) {
                if (restartInterval_ != 0) {
                    if (unitsToRestart == 0) {
                        if (++interval >= intervalEnds.size()) {
                            return std::nullopt; // a restart marker is missing
                        }
                        bits.Restart(intervalEnds[interval - 1]);
                        predictor.fill(0);
                        unitsToRestart = restartInterval_;
                    }
                    --unitsToRestart;
                }
                for (const BlockPlace& place : unit) {
                    Component& c = frame_.components[place.component];
                    const std::optional<int> dc =
                        DecodeBlock(bits, dc_[size_t(c.dcTable)], ac_[size_t(c.acTable)]);
                    if (!dc) {
                        return std::nullopt;
                    }
                    int32_t& p = predictor[place.component];
                    p = int32_t(uint32_t(p) + uint32_t(*dc)); // wraps on hostile data instead of overflowing
                    // The 1 x 1 inverse DCT: the dequantised DC over 8, rounded, around 128.
                    const int64_t value = ((int64_t(p) * quantDc_[size_t(c.quantTable)] + 4) >> 3) + 128;
                    const size_t x = size_t(ux) * size_t(c.h) + size_t(place.dx);
                    const size_t y = size_t(uy) * size_t(c.v) + size_t(place.dy);
                    c.plane[y * size_t(c.blocksWide) + x] = uint8_t(std::clamp<int64_t>(value, 0, 255));
                }
                if (bits.Position() > intervalEnds[interval] * 8) {
                    return std::nullopt; // the data ended (or a marker came) before the picture did
                }
            }
        }
        return Colours();
    }

    // Decodes one block: the DC difference, with the AC coefficients stepped over.
    static std::optional<int> DecodeBlock(BitReader& bits, const HuffmanTable& dcTable,
                                          const HuffmanTable& acTable) {
        bits.Refill();
        int length = 0;
        int size = 0;
        if (const HuffmanTable::Entry& e = dcTable.Fast(bits.Peek(kLookupBits)); e.length != 0) [[likely]] {
            length = e.length;
            size = e.symbol;
        } else {
            const std::optional<uint8_t> symbol = dcTable.LongCode(bits.Peek(16), length);
            if (!symbol) {
                return std::nullopt;
            }
            size = *symbol;
        }
        // Code and value are taken at once (27 bits at most).
        const int raw = int(bits.Peek(length + size) & ((1u << size) - 1));
        bits.Skip(length + size);
        const int dc = size == 0 ? 0 : raw < (1 << (size - 1)) ? raw - (1 << size) + 1 : raw;
        // A refill leaves at least 56 bits: enough for the DC value and the first AC coefficient (26 bits
        // at most), then for two coefficients per refill, which keeps its memory read off half of the
        // chain of dependent steps.
        int k = AcCoefficient(bits, acTable, 1);
        while (k >= 0 && k < 64) {
            bits.Refill();
            k = AcCoefficient(bits, acTable, k);
            if (k >= 0 && k < 64) {
                k = AcCoefficient(bits, acTable, k);
            }
        }
        if (k < 0) {
            return std::nullopt;
        }
        return dc;
    }

    // Steps over one AC coefficient (or a run of sixteen zeros): how far the index moves, 0 at the end
    // of the block, -1 for a code the table does not have.
    // Steps over one AC coefficient (or a run of sixteen zeros) of the block whose index is at `k`: the
    // new index, 64 at the end of the block, -1 for a code the table does not have.
    static int AcCoefficient(BitReader& bits, const HuffmanTable& table, int k) {
        HuffmanTable::Step step = table.Steps(bits.Peek(kLookupBits));
        if (step.advance == HuffmanTable::kLongCode) [[unlikely]] {
            int length = 0;
            const std::optional<uint8_t> symbol = table.LongCode(bits.Peek(16), length);
            if (!symbol) {
                return -1;
            }
            step = HuffmanTable::AcStep(length, *symbol);
        }
        bits.Skip(step.bits);
        return step.advance == HuffmanTable::kEndOfBlock ? 64 : k + step.advance;
    }

    // The planes put together at one eighth of the picture's size, chroma widened by repeating it.
    JpegEighth Colours() const {
        JpegEighth out;
        out.size = {(frame_.width + 7) / 8, (frame_.height + 7) / 8};
        out.orientation = orientation_;
        out.rgb.resize(size_t(out.size.width) * size_t(out.size.height) * 3);
        const auto sample = [&](const Component& c, int x, int y) {
            const int cx = x * c.h / frame_.hMax;
            const int cy = y * c.v / frame_.vMax;
            return int(c.plane[size_t(cy) * size_t(c.blocksWide) + size_t(cx)]);
        };
        uint8_t* out_pixel = out.rgb.data();
        for (int y = 0; y < out.size.height; ++y) {
            for (int x = 0; x < out.size.width; ++x, out_pixel += 3) {
                const int luma = sample(frame_.components[0], x, y);
                if (frame_.components.size() == 1) {
                    out_pixel[0] = out_pixel[1] = out_pixel[2] = uint8_t(luma);
                    continue;
                }
                // JFIF's YCbCr to RGB in 16-bit fixed point, as libjpeg does it.
                const int cb = sample(frame_.components[1], x, y) - 128;
                const int cr = sample(frame_.components[2], x, y) - 128;
                constexpr int kHalf = 1 << 15;
                const int r = luma + ((91881 * cr + kHalf) >> 16);
                const int g = luma + ((-22554 * cb - 46802 * cr + kHalf) >> 16);
                const int b = luma + ((116130 * cb + kHalf) >> 16);
                out_pixel[0] = uint8_t(std::clamp(r, 0, 255));
                out_pixel[1] = uint8_t(std::clamp(g, 0, 255));
                out_pixel[2] = uint8_t(std::clamp(b, 0, 255));
            }
        }
        return out;
    }

    std::vector<uint8_t> bytes_;
    std::span<const uint8_t> data_; // bytes_ until the scan's data is taken apart
    Frame frame_;
    std::array<HuffmanTable, 4> dc_{};
    std::array<HuffmanTable, 4> ac_{};
    std::array<bool, 4> haveDc_{};
    std::array<bool, 4> haveAc_{};
    std::array<int, 4> quantDc_{};
    std::array<bool, 4> haveQuant_{};
    std::vector<size_t> order_; // the frame's components in scan order
    int restartInterval_ = 0;
    int orientation_ = 1;
    bool haveExif_ = false;
};

} // namespace

int ReadExifOrientation(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) {
        return 1;
    }
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) {
        return 1;
    }
    const auto u16 = [&](size_t at) {
        return little ? uint32_t(tiff[at] | tiff[at + 1] << 8) : uint32_t(tiff[at] << 8 | tiff[at + 1]);
    };
    const auto u32 = [&](size_t at) {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const size_t ifd = u32(4);
    if (u16(2) != 42 || ifd > tiff.size() - 2) {
        return 1;
    }
    const size_t entries = u16(ifd);
    for (size_t i = 0; i < entries; ++i) {
        const size_t at = ifd + 2 + 12 * i;
        if (at + 12 > tiff.size()) {
            break;
        }
        if (u16(at) == 0x0112 && u16(at + 2) == 3) { // Orientation, SHORT
            const uint32_t value = u16(at + 8);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

std::optional<JpegEighth> DecodeJpegEighth(std::vector<uint8_t> jpeg) {
    return Decoder(std::move(jpeg)).Run();
}

} // namespace imaging
