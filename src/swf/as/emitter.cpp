// Emitter: action collection, Push merging, constant pool indices and branch resolution.
#include "swf/as/emitter.h"

#include "swf/as/parser.h" // CompileFailure

#include <cmath>  // integral numbers
#include <limits> // 16-bit ranges

namespace swf::as {

namespace {

constexpr size_t kUnbound = static_cast<size_t>(-1);
constexpr size_t kMaxPayload = 0xFFFF;

} // namespace

std::optional<uint16_t> ConstantPoolBuilder::index_of(const std::string& s) {
    if (auto it = index_.find(s); it != index_.end()) {
        return it->second;
    }
    if (strings_.size() >= 0xFFFF || payload_bytes_ + s.size() + 1 > kMaxPayload) {
        return std::nullopt;
    }
    const auto index = static_cast<uint16_t>(strings_.size());
    strings_.push_back(s);
    index_.emplace(s, index);
    payload_bytes_ += s.size() + 1;
    return index;
}

Emitter::Label Emitter::new_label() {
    labels_.push_back(kUnbound);
    return labels_.size() - 1;
}

void Emitter::bind(Label label) {
    labels_[label] = actions_.size();
    last_bound_ = actions_.size();
}

void Emitter::branch(Op op, Label target, SourcePos pos) {
    patches_.push_back(Patch{actions_.size(), target, pos});
    emit(ActionBranch{op, 0});
}

void Emitter::emit(Action action) {
    actions_.push_back(std::move(action));
}

void Emitter::push(PushValue value) {
    // Consecutive pushes share one action, unless a branch lands between them.
    if (!actions_.empty() && last_bound_ != actions_.size()) {
        if (auto* prev = std::get_if<ActionPush>(&actions_.back())) {
            if (payload_size(actions_.back()) + push_value_size(value) <= kMaxPayload) {
                prev->values.push_back(std::move(value));
                return;
            }
        }
    }
    emit(ActionPush{{std::move(value)}});
}

void Emitter::push_string(const std::string& s) {
    if (auto index = pool_.index_of(s)) {
        push(PushConstant{*index});
        return;
    }
    if (s.size() + 2 > kMaxPayload) {
        throw CompileFailure{CompileError{pos_, "string too long"}};
    }
    push(s);
}

void Emitter::push_number(double n) {
    const bool integral = n == std::floor(n) && n >= std::numeric_limits<int32_t>::min() &&
                          n <= std::numeric_limits<int32_t>::max() && !(n == 0 && std::signbit(n));
    if (integral) {
        push(static_cast<int32_t>(n));
    } else {
        push(n);
    }
}

std::vector<uint8_t> Emitter::finish() {
    std::vector<size_t> start(actions_.size() + 1, 0);
    for (size_t i = 0; i < actions_.size(); ++i) {
        start[i + 1] = start[i] + action_size(actions_[i]);
    }
    for (const Patch& p : patches_) {
        const size_t target = labels_[p.label];
        const auto from = static_cast<long long>(start[p.action + 1]);
        const auto to = static_cast<long long>(start[target == kUnbound ? actions_.size() : target]);
        const long long offset = to - from;
        if (offset < std::numeric_limits<int16_t>::min() || offset > std::numeric_limits<int16_t>::max()) {
            throw CompileFailure{CompileError{p.pos, "branch too far"}};
        }
        std::get<ActionBranch>(actions_[p.action]).offset = static_cast<int16_t>(offset);
    }
    std::vector<uint8_t> out;
    out.reserve(start.back());
    for (const Action& a : actions_) {
        write_action(a, out);
    }
    return out;
}

} // namespace swf::as
