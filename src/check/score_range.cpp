#include "check/score_range.h"

#include <algorithm>

namespace check {

namespace {

int64_t AddBounded(int64_t end, int64_t points) {
    if (end == ScoreRange::kMinusInfinity || end == ScoreRange::kPlusInfinity) {
        return end;
    }
    // Finite ends stay far from the limits (points are 32-bit and widening stops the growth), but a
    // sum is clamped all the same rather than overflow.
    constexpr int64_t kLimit = int64_t(1) << 60;
    return std::clamp(end + points, -kLimit, kLimit);
}

} // namespace

std::optional<Compare> ParseCompare(std::string_view op) {
    if (op == ">") {
        return Compare::Greater;
    }
    if (op == ">=") {
        return Compare::GreaterEqual;
    }
    if (op == "=") {
        return Compare::Equal;
    }
    if (op == "<=") {
        return Compare::LessEqual;
    }
    if (op == "<") {
        return Compare::Less;
    }
    return std::nullopt;
}

ScoreRange ScoreRange::Plus(int64_t points) const {
    if (m_empty) {
        return {};
    }
    return {AddBounded(m_lo, points), AddBounded(m_hi, points)};
}

ScoreRange ScoreRange::Join(const ScoreRange& other) const {
    if (m_empty) {
        return other;
    }
    if (other.m_empty) {
        return *this;
    }
    return {std::min(m_lo, other.m_lo), std::max(m_hi, other.m_hi)};
}

ScoreRange ScoreRange::Holding(Compare op, int64_t value) const {
    if (m_empty) {
        return {};
    }
    switch (op) {
    case Compare::Greater:
        return Between(std::max(m_lo, value + 1), m_hi);
    case Compare::GreaterEqual:
        return Between(std::max(m_lo, value), m_hi);
    case Compare::Equal:
        return value >= m_lo && value <= m_hi ? Exactly(value) : ScoreRange{};
    case Compare::LessEqual:
        return Between(m_lo, std::min(m_hi, value));
    case Compare::Less:
        return Between(m_lo, std::min(m_hi, value - 1));
    }
    return {};
}

ScoreRange ScoreRange::Failing(Compare op, int64_t value) const {
    if (m_empty) {
        return {};
    }
    switch (op) {
    case Compare::Greater:
        return Holding(Compare::LessEqual, value);
    case Compare::GreaterEqual:
        return Holding(Compare::Less, value);
    case Compare::LessEqual:
        return Holding(Compare::Greater, value);
    case Compare::Less:
        return Holding(Compare::GreaterEqual, value);
    case Compare::Equal:
        // Only an end can be cut off: the range stays one interval.
        if (m_lo == value && m_hi == value) {
            return {};
        }
        if (m_lo == value) {
            return {value + 1, m_hi};
        }
        if (m_hi == value) {
            return {m_lo, value - 1};
        }
        return *this;
    }
    return {};
}

ScoreRange ScoreRange::WidenedTo(const ScoreRange& grown) const {
    if (m_empty || grown.m_empty) {
        return grown;
    }
    return {grown.m_lo < m_lo ? kMinusInfinity : grown.m_lo, grown.m_hi > m_hi ? kPlusInfinity : grown.m_hi};
}

std::string ScoreRange::Describe() const {
    if (m_empty) {
        return "none";
    }
    const bool noLow = m_lo == kMinusInfinity;
    const bool noHigh = m_hi == kPlusInfinity;
    if (noLow && noHigh) {
        return "any score";
    }
    if (noHigh) {
        return std::to_string(m_lo) + " or more";
    }
    if (noLow) {
        return std::to_string(m_hi) + " or less";
    }
    if (m_lo == m_hi) {
        return "exactly " + std::to_string(m_lo);
    }
    return std::to_string(m_lo) + " to " + std::to_string(m_hi);
}

} // namespace check
