// A set of scores as one closed interval whose ends may be unbounded, and the arithmetic the checker
// needs on it: adding a link's points, joining two ways in, and cutting by a link's condition.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace check {

// The comparison of a link's condition; an empty or unknown operator is no condition.
enum class Compare { Greater, GreaterEqual, Equal, LessEqual, Less };
std::optional<Compare> ParseCompare(std::string_view op);

class ScoreRange {
public:
    static constexpr int64_t kMinusInfinity = std::numeric_limits<int64_t>::min();
    static constexpr int64_t kPlusInfinity = std::numeric_limits<int64_t>::max();

    ScoreRange() = default; // empty
    static ScoreRange Exactly(int64_t score) { return {score, score}; }
    static ScoreRange Between(int64_t lo, int64_t hi) { return lo <= hi ? ScoreRange{lo, hi} : ScoreRange{}; }
    static ScoreRange Any() { return {kMinusInfinity, kPlusInfinity}; }

    bool Empty() const { return m_empty; }
    int64_t Low() const { return m_lo; }
    int64_t High() const { return m_hi; }
    bool operator==(const ScoreRange&) const = default;

    // Every score plus `points`; unbounded ends stay unbounded.
    ScoreRange Plus(int64_t points) const;
    // The smallest range holding both.
    ScoreRange Join(const ScoreRange& other) const;
    // The scores for which "score op value" holds (Holding) or fails (Failing).
    ScoreRange Holding(Compare op, int64_t value) const;
    ScoreRange Failing(Compare op, int64_t value) const;
    // This range with each end that moved outwards in `grown` made unbounded.
    ScoreRange WidenedTo(const ScoreRange& grown) const;

    // "0 to 30", "exactly 5", "10 or more", "any score", "none".
    std::string Describe() const;

private:
    ScoreRange(int64_t lo, int64_t hi) : m_empty(false), m_lo(lo), m_hi(hi) {}
    bool m_empty = true;
    int64_t m_lo = 0;
    int64_t m_hi = 0;
};

} // namespace check
