// The AVM1 opcodes the compiler emits and the disassembler names: one table of code, name and payload
// layout. Codes from 0x80 up carry a 16-bit payload length, lower ones none; the table checks it.
#pragma once

#include <array>       // the table
#include <cstdint>     // uint8_t
#include <optional>    // find_opcode
#include <string_view> // names

namespace swf::as {

// How an action's payload is laid out.
enum class Payload : uint8_t {
    None,           // no payload, no length field
    U8,             // one byte (StoreRegister, GetURL2 flags, WaitForFrame2 skip count)
    U16,            // one little-endian 16-bit number (GotoFrame, With size)
    Branch,         // signed 16-bit offset from the end of the action (If, Jump)
    String,         // one NUL-terminated string (GoToLabel, SetTarget)
    TwoStrings,     // two NUL-terminated strings (GetURL)
    Push,           // typed values up to the payload length
    ConstantPool,   // a 16-bit count, then that many strings
    DefineFunction, // name, 16-bit parameter count, parameters, 16-bit body size; the body follows
    GotoFrame2,     // flags byte, then a 16-bit scene bias when flag bit 1 is set
    Raw,            // any other payload, shown as bytes
};

enum class Op : uint8_t {
    End = 0x00,
    NextFrame = 0x04,
    PrevFrame = 0x05,
    Play = 0x06,
    Stop = 0x07,
    ToggleQuality = 0x08,
    StopSounds = 0x09,
    Add = 0x0A,
    Subtract = 0x0B,
    Multiply = 0x0C,
    Divide = 0x0D,
    Equals = 0x0E,
    Less = 0x0F,
    And = 0x10,
    Or = 0x11,
    Not = 0x12,
    StringEquals = 0x13,
    StringLength = 0x14,
    StringExtract = 0x15,
    Pop = 0x17,
    ToInteger = 0x18,
    GetVariable = 0x1C,
    SetVariable = 0x1D,
    SetTarget2 = 0x20,
    StringAdd = 0x21,
    GetProperty = 0x22,
    SetProperty = 0x23,
    CloneSprite = 0x24,
    RemoveSprite = 0x25,
    Trace = 0x26,
    StartDrag = 0x27,
    EndDrag = 0x28,
    StringLess = 0x29,
    Throw = 0x2A,
    CastOp = 0x2B,
    ImplementsOp = 0x2C,
    RandomNumber = 0x30,
    MBStringLength = 0x31,
    CharToAscii = 0x32,
    AsciiToChar = 0x33,
    GetTime = 0x34,
    MBStringExtract = 0x35,
    MBCharToAscii = 0x36,
    MBAsciiToChar = 0x37,
    Delete = 0x3A,
    Delete2 = 0x3B,
    DefineLocal = 0x3C,
    CallFunction = 0x3D,
    Return = 0x3E,
    Modulo = 0x3F,
    NewObject = 0x40,
    DefineLocal2 = 0x41,
    InitArray = 0x42,
    InitObject = 0x43,
    TypeOf = 0x44,
    TargetPath = 0x45,
    Enumerate = 0x46,
    Add2 = 0x47,
    Less2 = 0x48,
    Equals2 = 0x49,
    ToNumber = 0x4A,
    ToString = 0x4B,
    PushDuplicate = 0x4C,
    StackSwap = 0x4D,
    GetMember = 0x4E,
    SetMember = 0x4F,
    Increment = 0x50,
    Decrement = 0x51,
    CallMethod = 0x52,
    NewMethod = 0x53,
    InstanceOf = 0x54,
    Enumerate2 = 0x55,
    BitAnd = 0x60,
    BitOr = 0x61,
    BitXor = 0x62,
    BitLShift = 0x63,
    BitRShift = 0x64,
    BitURShift = 0x65,
    StrictEquals = 0x66,
    Greater = 0x67,
    StringGreater = 0x68,
    Extends = 0x69,
    GotoFrame = 0x81,
    GetURL = 0x83,
    StoreRegister = 0x87,
    ConstantPool = 0x88,
    WaitForFrame = 0x8A,
    SetTarget = 0x8B,
    GoToLabel = 0x8C,
    WaitForFrame2 = 0x8D,
    DefineFunction2 = 0x8E,
    Try = 0x8F,
    With = 0x94,
    Push = 0x96,
    Jump = 0x99,
    GetURL2 = 0x9A,
    DefineFunction = 0x9B,
    If = 0x9D,
    Call = 0x9E,
    GotoFrame2 = 0x9F,
};

struct OpcodeInfo {
    Op op;
    std::string_view name;
    Payload payload;
};

inline constexpr std::array kOpcodes = {
    OpcodeInfo{Op::End, "End", Payload::None},
    OpcodeInfo{Op::NextFrame, "NextFrame", Payload::None},
    OpcodeInfo{Op::PrevFrame, "PrevFrame", Payload::None},
    OpcodeInfo{Op::Play, "Play", Payload::None},
    OpcodeInfo{Op::Stop, "Stop", Payload::None},
    OpcodeInfo{Op::ToggleQuality, "ToggleQuality", Payload::None},
    OpcodeInfo{Op::StopSounds, "StopSounds", Payload::None},
    OpcodeInfo{Op::Add, "Add", Payload::None},
    OpcodeInfo{Op::Subtract, "Subtract", Payload::None},
    OpcodeInfo{Op::Multiply, "Multiply", Payload::None},
    OpcodeInfo{Op::Divide, "Divide", Payload::None},
    OpcodeInfo{Op::Equals, "Equals", Payload::None},
    OpcodeInfo{Op::Less, "Less", Payload::None},
    OpcodeInfo{Op::And, "And", Payload::None},
    OpcodeInfo{Op::Or, "Or", Payload::None},
    OpcodeInfo{Op::Not, "Not", Payload::None},
    OpcodeInfo{Op::StringEquals, "StringEquals", Payload::None},
    OpcodeInfo{Op::StringLength, "StringLength", Payload::None},
    OpcodeInfo{Op::StringExtract, "StringExtract", Payload::None},
    OpcodeInfo{Op::Pop, "Pop", Payload::None},
    OpcodeInfo{Op::ToInteger, "ToInteger", Payload::None},
    OpcodeInfo{Op::GetVariable, "GetVariable", Payload::None},
    OpcodeInfo{Op::SetVariable, "SetVariable", Payload::None},
    OpcodeInfo{Op::SetTarget2, "SetTarget2", Payload::None},
    OpcodeInfo{Op::StringAdd, "StringAdd", Payload::None},
    OpcodeInfo{Op::GetProperty, "GetProperty", Payload::None},
    OpcodeInfo{Op::SetProperty, "SetProperty", Payload::None},
    OpcodeInfo{Op::CloneSprite, "CloneSprite", Payload::None},
    OpcodeInfo{Op::RemoveSprite, "RemoveSprite", Payload::None},
    OpcodeInfo{Op::Trace, "Trace", Payload::None},
    OpcodeInfo{Op::StartDrag, "StartDrag", Payload::None},
    OpcodeInfo{Op::EndDrag, "EndDrag", Payload::None},
    OpcodeInfo{Op::StringLess, "StringLess", Payload::None},
    OpcodeInfo{Op::Throw, "Throw", Payload::None},
    OpcodeInfo{Op::CastOp, "CastOp", Payload::None},
    OpcodeInfo{Op::ImplementsOp, "ImplementsOp", Payload::None},
    OpcodeInfo{Op::RandomNumber, "RandomNumber", Payload::None},
    OpcodeInfo{Op::MBStringLength, "MBStringLength", Payload::None},
    OpcodeInfo{Op::CharToAscii, "CharToAscii", Payload::None},
    OpcodeInfo{Op::AsciiToChar, "AsciiToChar", Payload::None},
    OpcodeInfo{Op::GetTime, "GetTime", Payload::None},
    OpcodeInfo{Op::MBStringExtract, "MBStringExtract", Payload::None},
    OpcodeInfo{Op::MBCharToAscii, "MBCharToAscii", Payload::None},
    OpcodeInfo{Op::MBAsciiToChar, "MBAsciiToChar", Payload::None},
    OpcodeInfo{Op::Delete, "Delete", Payload::None},
    OpcodeInfo{Op::Delete2, "Delete2", Payload::None},
    OpcodeInfo{Op::DefineLocal, "DefineLocal", Payload::None},
    OpcodeInfo{Op::CallFunction, "CallFunction", Payload::None},
    OpcodeInfo{Op::Return, "Return", Payload::None},
    OpcodeInfo{Op::Modulo, "Modulo", Payload::None},
    OpcodeInfo{Op::NewObject, "NewObject", Payload::None},
    OpcodeInfo{Op::DefineLocal2, "DefineLocal2", Payload::None},
    OpcodeInfo{Op::InitArray, "InitArray", Payload::None},
    OpcodeInfo{Op::InitObject, "InitObject", Payload::None},
    OpcodeInfo{Op::TypeOf, "TypeOf", Payload::None},
    OpcodeInfo{Op::TargetPath, "TargetPath", Payload::None},
    OpcodeInfo{Op::Enumerate, "Enumerate", Payload::None},
    OpcodeInfo{Op::Add2, "Add2", Payload::None},
    OpcodeInfo{Op::Less2, "Less2", Payload::None},
    OpcodeInfo{Op::Equals2, "Equals2", Payload::None},
    OpcodeInfo{Op::ToNumber, "ToNumber", Payload::None},
    OpcodeInfo{Op::ToString, "ToString", Payload::None},
    OpcodeInfo{Op::PushDuplicate, "PushDuplicate", Payload::None},
    OpcodeInfo{Op::StackSwap, "StackSwap", Payload::None},
    OpcodeInfo{Op::GetMember, "GetMember", Payload::None},
    OpcodeInfo{Op::SetMember, "SetMember", Payload::None},
    OpcodeInfo{Op::Increment, "Increment", Payload::None},
    OpcodeInfo{Op::Decrement, "Decrement", Payload::None},
    OpcodeInfo{Op::CallMethod, "CallMethod", Payload::None},
    OpcodeInfo{Op::NewMethod, "NewMethod", Payload::None},
    OpcodeInfo{Op::InstanceOf, "InstanceOf", Payload::None},
    OpcodeInfo{Op::Enumerate2, "Enumerate2", Payload::None},
    OpcodeInfo{Op::BitAnd, "BitAnd", Payload::None},
    OpcodeInfo{Op::BitOr, "BitOr", Payload::None},
    OpcodeInfo{Op::BitXor, "BitXor", Payload::None},
    OpcodeInfo{Op::BitLShift, "BitLShift", Payload::None},
    OpcodeInfo{Op::BitRShift, "BitRShift", Payload::None},
    OpcodeInfo{Op::BitURShift, "BitURShift", Payload::None},
    OpcodeInfo{Op::StrictEquals, "StrictEquals", Payload::None},
    OpcodeInfo{Op::Greater, "Greater", Payload::None},
    OpcodeInfo{Op::StringGreater, "StringGreater", Payload::None},
    OpcodeInfo{Op::Extends, "Extends", Payload::None},
    OpcodeInfo{Op::GotoFrame, "GotoFrame", Payload::U16},
    OpcodeInfo{Op::GetURL, "GetURL", Payload::TwoStrings},
    OpcodeInfo{Op::StoreRegister, "StoreRegister", Payload::U8},
    OpcodeInfo{Op::ConstantPool, "ConstantPool", Payload::ConstantPool},
    OpcodeInfo{Op::WaitForFrame, "WaitForFrame", Payload::Raw},
    OpcodeInfo{Op::SetTarget, "SetTarget", Payload::String},
    OpcodeInfo{Op::GoToLabel, "GoToLabel", Payload::String},
    OpcodeInfo{Op::WaitForFrame2, "WaitForFrame2", Payload::U8},
    OpcodeInfo{Op::DefineFunction2, "DefineFunction2", Payload::Raw},
    OpcodeInfo{Op::Try, "Try", Payload::Raw},
    OpcodeInfo{Op::With, "With", Payload::U16},
    OpcodeInfo{Op::Push, "Push", Payload::Push},
    OpcodeInfo{Op::Jump, "Jump", Payload::Branch},
    OpcodeInfo{Op::GetURL2, "GetURL2", Payload::U8},
    OpcodeInfo{Op::DefineFunction, "DefineFunction", Payload::DefineFunction},
    OpcodeInfo{Op::If, "If", Payload::Branch},
    OpcodeInfo{Op::Call, "Call", Payload::None},
    OpcodeInfo{Op::GotoFrame2, "GotoFrame2", Payload::GotoFrame2},
};

// The header rule, checked once for the whole table: ascending codes, and a payload exactly from 0x80 up
// (Call, 0x9E, is the one action there whose length is always 0).
constexpr bool opcode_table_is_consistent() {
    for (size_t i = 0; i < kOpcodes.size(); ++i) {
        const auto code = static_cast<uint8_t>(kOpcodes[i].op);
        if (i > 0 && code <= static_cast<uint8_t>(kOpcodes[i - 1].op)) {
            return false;
        }
        const bool has_length = code >= 0x80;
        const bool has_payload = kOpcodes[i].payload != Payload::None;
        if (has_payload != has_length && kOpcodes[i].op != Op::Call) {
            return false;
        }
    }
    return true;
}
static_assert(opcode_table_is_consistent(), "opcode table out of order or payload rule broken");

constexpr const OpcodeInfo* find_opcode(uint8_t code) {
    for (const OpcodeInfo& info : kOpcodes) {
        if (static_cast<uint8_t>(info.op) == code) {
            return &info;
        }
    }
    return nullptr;
}

constexpr std::string_view opcode_name(Op op) {
    const OpcodeInfo* info = find_opcode(static_cast<uint8_t>(op));
    return info ? info->name : "?";
}

} // namespace swf::as
