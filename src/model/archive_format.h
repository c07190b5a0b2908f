// Shared constants of the archive encoding, used by the reader and the writer.
#pragma once

#include <cstdint>
#include <string_view>

namespace model::archive {

enum class ClassKind { ObList, CardInfo, Links, LinkInfo };

struct ClassRecord {
    ClassKind kind;
    std::string_view name;
    uint16_t schema;
};

inline constexpr ClassRecord kClasses[] = {
    {ClassKind::ObList, "CObList", 0},
    {ClassKind::CardInfo, "CCardInfo", 1},
    {ClassKind::Links, "CLinks", 1},
    {ClassKind::LinkInfo, "CLinkInfo", 1},
};

inline constexpr uint16_t kNullTag = 0x0000;
inline constexpr uint16_t kNewClassTag = 0xFFFF;
inline constexpr uint16_t kBigTag = 0x7FFF;      // a u32 tag follows
inline constexpr uint16_t kClassTagBit = 0x8000; // short form of a class tag
inline constexpr uint32_t kBigClassTagBit = 0x80000000;
inline constexpr uint32_t kMaxClassNameLength = 64; // names this long or longer are refused
inline constexpr uint16_t kUnicodeMark = 0xFFFE;    // after u8 0xFF: a 16-bit string follows
inline constexpr int32_t kMarker = 1;

} // namespace model::archive
