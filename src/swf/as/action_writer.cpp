// Writes actions as AVM1 bytes: a one-byte code, then for codes from 0x80 up a 16-bit payload length and
// the payload.
#include "swf/as/action.h"

#include <bit> // double bits

namespace swf::as {

namespace {

void put_u16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    put_u16(out, v & 0xFFFF);
    put_u16(out, v >> 16);
}

void put_string(std::vector<uint8_t>& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

// AVM1 doubles are stored as two little-endian 32-bit halves, the high half first.
void put_double(std::vector<uint8_t>& out, double d) {
    const auto bits = std::bit_cast<uint64_t>(d);
    put_u32(out, static_cast<uint32_t>(bits >> 32));
    put_u32(out, static_cast<uint32_t>(bits));
}

void write_push_value(const PushValue& value, std::vector<uint8_t>& out) {
    struct Visitor {
        std::vector<uint8_t>& out;
        void operator()(const std::string& s) const {
            out.push_back(0);
            put_string(out, s);
        }
        void operator()(int32_t i) const {
            out.push_back(7);
            put_u32(out, static_cast<uint32_t>(i));
        }
        void operator()(double d) const {
            out.push_back(6);
            put_double(out, d);
        }
        void operator()(bool b) const {
            out.push_back(5);
            out.push_back(b ? 1 : 0);
        }
        void operator()(PushNull) const { out.push_back(2); }
        void operator()(PushUndefined) const { out.push_back(3); }
        void operator()(PushRegister r) const {
            out.push_back(4);
            out.push_back(r.index);
        }
        void operator()(PushConstant c) const {
            if (c.index < 256) {
                out.push_back(8);
                out.push_back(static_cast<uint8_t>(c.index));
            } else {
                out.push_back(9);
                put_u16(out, c.index);
            }
        }
    };
    std::visit(Visitor{out}, value);
}

Op op_of(const Action& action) {
    struct Visitor {
        Op operator()(const ActionSimple& a) const { return a.op; }
        Op operator()(const ActionPush&) const { return Op::Push; }
        Op operator()(const ActionBranch& a) const { return a.op; }
        Op operator()(const ActionGotoFrame&) const { return Op::GotoFrame; }
        Op operator()(const ActionGotoFrame2&) const { return Op::GotoFrame2; }
        Op operator()(const ActionGoToLabel&) const { return Op::GoToLabel; }
        Op operator()(const ActionGetUrl2&) const { return Op::GetURL2; }
        Op operator()(const ActionStoreRegister&) const { return Op::StoreRegister; }
        Op operator()(const ActionConstantPool&) const { return Op::ConstantPool; }
        Op operator()(const ActionDefineFunction&) const { return Op::DefineFunction; }
    };
    return std::visit(Visitor{}, action);
}

} // namespace

size_t push_value_size(const PushValue& value) {
    struct Visitor {
        size_t operator()(const std::string& s) const { return 1 + s.size() + 1; }
        size_t operator()(int32_t) const { return 5; }
        size_t operator()(double) const { return 9; }
        size_t operator()(bool) const { return 2; }
        size_t operator()(PushNull) const { return 1; }
        size_t operator()(PushUndefined) const { return 1; }
        size_t operator()(PushRegister) const { return 2; }
        size_t operator()(PushConstant c) const { return c.index < 256 ? 2 : 3; }
    };
    return std::visit(Visitor{}, value);
}

size_t payload_size(const Action& action) {
    struct Visitor {
        size_t operator()(const ActionSimple&) const { return 0; }
        size_t operator()(const ActionPush& a) const {
            size_t n = 0;
            for (const PushValue& v : a.values) {
                n += push_value_size(v);
            }
            return n;
        }
        size_t operator()(const ActionBranch&) const { return 2; }
        size_t operator()(const ActionGotoFrame&) const { return 2; }
        size_t operator()(const ActionGotoFrame2&) const { return 1; }
        size_t operator()(const ActionGoToLabel& a) const { return a.label.size() + 1; }
        size_t operator()(const ActionGetUrl2&) const { return 1; }
        size_t operator()(const ActionStoreRegister&) const { return 1; }
        size_t operator()(const ActionConstantPool& a) const {
            size_t n = 2;
            for (const std::string& s : a.strings) {
                n += s.size() + 1;
            }
            return n;
        }
        size_t operator()(const ActionDefineFunction& a) const {
            size_t n = a.name.size() + 1 + 2 + 2;
            for (const std::string& p : a.params) {
                n += p.size() + 1;
            }
            return n;
        }
    };
    return std::visit(Visitor{}, action);
}

size_t action_size(const Action& action) {
    const bool long_form = static_cast<uint8_t>(op_of(action)) >= 0x80;
    size_t n = 1 + (long_form ? 2 + payload_size(action) : 0);
    if (const auto* fn = std::get_if<ActionDefineFunction>(&action)) {
        n += fn->body.size();
    }
    return n;
}

void write_action(const Action& action, std::vector<uint8_t>& out) {
    const Op op = op_of(action);
    out.push_back(static_cast<uint8_t>(op));
    if (static_cast<uint8_t>(op) < 0x80) {
        return;
    }
    put_u16(out, static_cast<uint32_t>(payload_size(action)));
    struct Visitor {
        std::vector<uint8_t>& out;
        void operator()(const ActionSimple&) const {}
        void operator()(const ActionPush& a) const {
            for (const PushValue& v : a.values) {
                write_push_value(v, out);
            }
        }
        void operator()(const ActionBranch& a) const { put_u16(out, static_cast<uint16_t>(a.offset)); }
        void operator()(const ActionGotoFrame& a) const { put_u16(out, a.frame); }
        void operator()(const ActionGotoFrame2& a) const { out.push_back(a.play ? 1 : 0); }
        void operator()(const ActionGoToLabel& a) const { put_string(out, a.label); }
        void operator()(const ActionGetUrl2& a) const { out.push_back(a.flags); }
        void operator()(const ActionStoreRegister& a) const { out.push_back(a.index); }
        void operator()(const ActionConstantPool& a) const {
            put_u16(out, static_cast<uint32_t>(a.strings.size()));
            for (const std::string& s : a.strings) {
                put_string(out, s);
            }
        }
        void operator()(const ActionDefineFunction& a) const {
            put_string(out, a.name);
            put_u16(out, static_cast<uint32_t>(a.params.size()));
            for (const std::string& p : a.params) {
                put_string(out, p);
            }
            put_u16(out, static_cast<uint32_t>(a.body.size()));
            out.insert(out.end(), a.body.begin(), a.body.end());
        }
    };
    std::visit(Visitor{out}, action);
}

} // namespace swf::as
