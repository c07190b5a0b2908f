// Disassembler: reads action bytes defensively (every length checked against what is left) and prints
// one line per action. Offsets are from the start of the given bytes, also inside function bodies.
#include "swf/as/disassembler.h"
#include "swf/as/string_literal.h"

#include "swf/as/opcodes.h"

#include <bit>    // doubles
#include <cstdio> // number formatting
#include <string> // lines
#include <vector> // constant pool

namespace swf::as {

namespace {

constexpr int kMaxFunctionNesting = 64;

// Reads fields from one payload; any read past the end sets `bad` and yields zero or "".
class PayloadReader {
public:
    explicit PayloadReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool at_end() const { return pos_ >= bytes_.size(); }
    bool bad() const { return bad_; }

    uint32_t u8() {
        if (pos_ + 1 > bytes_.size()) {
            bad_ = true;
            return 0;
        }
        return bytes_[pos_++];
    }
    uint32_t u16() { return u8() | (u8() << 8); }
    uint32_t u32() { return u16() | (u16() << 16); }

    std::string str() {
        std::string s;
        while (true) {
            if (pos_ >= bytes_.size()) {
                bad_ = true;
                return s;
            }
            const char c = static_cast<char>(bytes_[pos_++]);
            if (c == '\0') {
                return s;
            }
            s += c;
        }
    }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool bad_ = false;
};

std::string quote(const std::string& s) {
    return string_literal(s);
}

std::string hex4(size_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%04zX", v);
    return buf;
}

std::string number(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    std::string s = buf;
    // Keep doubles apart from integers in the listing.
    if (s.find_first_of(".eni") == std::string::npos) {
        s += ".0";
    }
    return s;
}

class Disassembler {
public:
    std::string run(std::span<const uint8_t> bytes) {
        block(bytes, 0, 0);
        return out_;
    }

private:
    void line(int indent, size_t offset, const std::string& text) {
        out_ += std::string(static_cast<size_t>(indent) * 2, ' ') + hex4(offset) + " " + text + "\n";
    }

    void block(std::span<const uint8_t> bytes, size_t base, int indent) {
        size_t pos = 0;
        while (pos < bytes.size()) {
            const size_t at = base + pos;
            const uint8_t code = bytes[pos];
            size_t length = 0;
            size_t header = 1;
            if (code >= 0x80) {
                if (pos + 3 > bytes.size()) {
                    line(indent, at, "(truncated action header)");
                    return;
                }
                length = bytes[pos + 1] | (bytes[pos + 2] << 8);
                header = 3;
                if (pos + 3 + length > bytes.size()) {
                    line(indent, at, "(truncated action, " + std::to_string(length) + " bytes declared)");
                    return;
                }
            }
            const auto payload = bytes.subspan(pos + header, length);
            const size_t next = pos + header + length;
            const OpcodeInfo* info = find_opcode(code);
            if (!info) {
                char buf[32];
                std::snprintf(buf, sizeof buf, "Unknown 0x%02X", code);
                line(indent, at, buf + raw(payload));
                pos = next;
                continue;
            }
            std::string text(info->name);
            if (info->payload == Payload::DefineFunction) {
                pos = define_function(bytes, pos, next, payload, base, indent);
                continue;
            }
            text += describe(*info, payload, base + next);
            line(indent, at, text);
            pos = next;
        }
    }

    std::string raw(std::span<const uint8_t> payload) const {
        std::string s;
        for (const uint8_t b : payload) {
            char buf[4];
            std::snprintf(buf, sizeof buf, " %02X", b);
            s += buf;
        }
        return s;
    }

    std::string describe(const OpcodeInfo& info, std::span<const uint8_t> payload, size_t end_offset) {
        PayloadReader r(payload);
        std::string s;
        switch (info.payload) {
        case Payload::None:
            return payload.empty() ? "" : raw(payload);
        case Payload::Raw:
            return raw(payload);
        case Payload::U8:
            s = " " + std::to_string(r.u8());
            break;
        case Payload::U16:
            s = " " + std::to_string(r.u16());
            break;
        case Payload::Branch: {
            const auto offset = static_cast<int16_t>(r.u16());
            const long long target = static_cast<long long>(end_offset) + offset;
            s = (offset >= 0 ? " +" : " ") + std::to_string(offset) + " -> " +
                (target >= 0 ? hex4(static_cast<size_t>(target)) : std::to_string(target));
            break;
        }
        case Payload::String:
            s = " " + quote(r.str());
            break;
        case Payload::TwoStrings: {
            s = " " + quote(r.str());
            s += " " + quote(r.str());
            break;
        }
        case Payload::ConstantPool: {
            const uint32_t count = r.u16();
            pool_.clear();
            for (uint32_t i = 0; i < count; ++i) {
                std::string entry = r.str();
                if (r.bad()) {
                    break;
                }
                s += " " + quote(entry);
                pool_.push_back(std::move(entry));
            }
            break;
        }
        case Payload::GotoFrame2: {
            const uint32_t flags = r.u8();
            s = (flags & 1) ? " play" : " stop";
            if (flags & 2) {
                s += " bias " + std::to_string(r.u16());
            }
            break;
        }
        case Payload::Push:
            s = push_values(r);
            break;
        case Payload::DefineFunction:
            break; // listed by define_function
        }
        if (r.bad()) {
            s += " (truncated payload)";
        }
        return s;
    }

    // The values of a Push; a value cut off by the payload's end is left out (the caller notes it).
    std::string push_values(PayloadReader& r) {
        std::string s;
        while (!r.at_end()) {
            const uint32_t type = r.u8();
            std::string item;
            switch (type) {
            case 0:
                item = quote(r.str());
                break;
            case 1: {
                const uint32_t bits = r.u32();
                item = number(std::bit_cast<float>(bits)) + "f";
                break;
            }
            case 2:
                item = "null";
                break;
            case 3:
                item = "undefined";
                break;
            case 4:
                item = "r" + std::to_string(r.u8());
                break;
            case 5:
                item = r.u8() ? "true" : "false";
                break;
            case 6: {
                const uint64_t high = r.u32();
                const uint64_t low = r.u32();
                item = number(std::bit_cast<double>((high << 32) | low));
                break;
            }
            case 7:
                item = std::to_string(static_cast<int32_t>(r.u32()));
                break;
            case 8:
            case 9: {
                const uint32_t index = type == 8 ? r.u8() : r.u16();
                item = "c" + std::to_string(index) + ":" + (index < pool_.size() ? quote(pool_[index]) : "?");
                break;
            }
            default:
                return s + " (bad push type " + std::to_string(type) + ")";
            }
            if (r.bad()) {
                break;
            }
            s += " " + item;
        }
        return s;
    }

    // Lists a DefineFunction and its body, which follows the action; returns where the next action is.
    size_t define_function(std::span<const uint8_t> bytes, size_t pos, size_t next,
                           std::span<const uint8_t> payload, size_t base, int indent) {
        PayloadReader r(payload);
        std::string text = "DefineFunction " + quote(r.str()) + " (";
        const uint32_t count = r.u16();
        for (uint32_t i = 0; i < count && !r.bad(); ++i) {
            text += (i ? ", " : "") + quote(r.str());
        }
        const size_t body_size = r.u16();
        text += ") " + std::to_string(body_size) + " bytes";
        if (r.bad()) {
            line(indent, base + pos, text + " (truncated payload)");
            return next;
        }
        const size_t available = bytes.size() - next;
        const size_t size = body_size < available ? body_size : available;
        if (size < body_size) {
            text += " (body truncated)";
        }
        line(indent, base + pos, text);
        if (indent >= kMaxFunctionNesting) {
            line(indent + 1, base + next, "(body nested too deep)");
        } else {
            block(bytes.subspan(next, size), base + next, indent + 1);
        }
        return next + size;
    }

    std::string out_;
    std::vector<std::string> pool_;
};

} // namespace

std::string disassemble(std::span<const uint8_t> actions) {
    return Disassembler().run(actions);
}

} // namespace swf::as
