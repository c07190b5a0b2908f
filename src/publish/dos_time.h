// MS-DOS date and time as zip headers store them: local time, two-second steps, years from 1980.
#pragma once

#include <cstdint>
#include <ctime>

namespace publish {

struct DosDateTime {
    std::uint16_t time = 0; // hour x 2048 + minute x 32 + second / 2
    std::uint16_t date = 0; // (year - 1980) x 512 + month x 32 + day
};

// From broken-down local time. Years up to 1980 give the year part 0; years after 2107, which the
// seven bits cannot hold, give 2107.
DosDateTime ToDosDateTime(const std::tm& local);

// A file time (seconds since the epoch) in the local time zone.
DosDateTime DosDateTimeFromUnix(std::time_t seconds);

} // namespace publish
