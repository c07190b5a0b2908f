#include "publish/dos_time.h"

#include <algorithm>

namespace publish {

DosDateTime ToDosDateTime(const std::tm& local) {
    const int year_part = std::clamp(local.tm_year + 1900 - 1980, 0, 127);
    DosDateTime dos;
    dos.time = std::uint16_t(local.tm_hour * 2048 + local.tm_min * 32 + std::min(local.tm_sec, 59) / 2);
    dos.date = std::uint16_t(year_part * 512 + (local.tm_mon + 1) * 32 + local.tm_mday);
    return dos;
}

DosDateTime DosDateTimeFromUnix(std::time_t seconds) {
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return DosDateTime{0, 1 * 32 + 1}; // a time beyond the calendar: 1 January 1980
    }
    return ToDosDateTime(local);
}

} // namespace publish
