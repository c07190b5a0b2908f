// The action model the code generator emits: one alternative per kind of payload. Branches hold raw
// offsets; labels belong to the code generator, which resolves them before writing.
#pragma once

#include "swf/as/opcodes.h"

#include <cstdint> // fixed-width payload fields
#include <string>  // string payloads
#include <variant> // Action, PushValue
#include <vector>  // lists in payloads

namespace swf::as {

// Push operand types.
struct PushNull {};
struct PushUndefined {};
struct PushRegister {
    uint8_t index;
};
struct PushConstant {
    uint16_t index; // written in the 8-bit form below 256
};
using PushValue =
    std::variant<std::string, int32_t, double, bool, PushNull, PushUndefined, PushRegister, PushConstant>;

struct ActionSimple { // every action without payload
    Op op;
};
struct ActionPush {
    std::vector<PushValue> values;
};
struct ActionBranch { // If or Jump
    Op op;
    int16_t offset; // from the end of this action
};
struct ActionGotoFrame {
    uint16_t frame; // 0-based
};
struct ActionGotoFrame2 {
    bool play;
};
struct ActionGoToLabel {
    std::string label;
};
struct ActionGetUrl2 {
    uint8_t flags;
};
struct ActionStoreRegister {
    uint8_t index;
};
struct ActionConstantPool {
    std::vector<std::string> strings;
};
struct ActionDefineFunction {
    std::string name;
    std::vector<std::string> params;
    std::vector<uint8_t> body; // already written actions; counted by the size field
};

using Action =
    std::variant<ActionSimple, ActionPush, ActionBranch, ActionGotoFrame, ActionGotoFrame2, ActionGoToLabel,
                 ActionGetUrl2, ActionStoreRegister, ActionConstantPool, ActionDefineFunction>;

// Bytes the action takes when written (header, payload, and a function's body).
size_t action_size(const Action& action);

// Appends the action's bytes. Payload lengths must fit 16 bits; the code generator checks that first.
void write_action(const Action& action, std::vector<uint8_t>& out);

// Bytes one Push operand takes, type byte included.
size_t push_value_size(const PushValue& value);

// Payload bytes of an action (without header); used to check the 16-bit length limit.
size_t payload_size(const Action& action);

} // namespace swf::as
