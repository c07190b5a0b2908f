// Collects the actions of one code block (the script itself or a function body), owns its labels and
// resolves every branch to a 16-bit offset when the block is finished.
#pragma once

#include "swf/as/action.h"
#include "swf/as/compiler.h"

#include <cstddef>       // size_t
#include <string>        // pool strings
#include <unordered_map> // pool look-up
#include <vector>        // actions, labels, patches

namespace swf::as {

// The strings of one script's ConstantPool, shared by all its blocks; a string that no longer fits
// (65535 entries or 65535 payload bytes) is pushed inline instead.
class ConstantPoolBuilder {
public:
    // The string's pool index, adding it when there is room.
    std::optional<uint16_t> index_of(const std::string& s);
    const std::vector<std::string>& strings() const { return strings_; }

private:
    std::vector<std::string> strings_;
    std::unordered_map<std::string, uint16_t> index_;
    size_t payload_bytes_ = 2; // the count field
};

class Emitter {
public:
    using Label = size_t;

    explicit Emitter(ConstantPoolBuilder& pool) : pool_(pool) { actions_.reserve(64); }

    Label new_label();
    void bind(Label label); // the label marks the next action emitted
    void branch(Op op, Label target, SourcePos pos);
    void op(Op op) { emit(ActionSimple{op}); }
    void emit(Action action);
    void push(PushValue value);
    void push_string(const std::string& s); // from the pool when it has room
    void push_number(double n);             // integer form when exact, else a double
    void push_register(uint8_t index) { push(PushRegister{index}); }
    // Where errors found while emitting (a string too long) are reported.
    void set_pos(SourcePos pos) { pos_ = pos; }

    // The block's bytes with every branch resolved; throws CompileFailure ("branch too far").
    std::vector<uint8_t> finish();

private:
    struct Patch {
        size_t action;
        Label label;
        SourcePos pos;
    };

    ConstantPoolBuilder& pool_;
    std::vector<Action> actions_;
    std::vector<size_t> labels_; // action index each label marks, or kUnbound
    std::vector<Patch> patches_;
    size_t last_bound_ = static_cast<size_t>(-1); // action index a label was last bound to
    SourcePos pos_;
};

} // namespace swf::as
