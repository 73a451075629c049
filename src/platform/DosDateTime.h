// DOS packed date-times as directory searches report them: the date in the high 16 bits
// ((year - 1980) << 9 | month << 5 | day) and the time in the low 16 bits
// (hour << 11 | minute << 5 | second / 2), so seconds have a resolution of two.
#pragma once

#include "rtl/DateUtils.h"

#include <cstdint>
#include <ctime>
#include <optional>

namespace platform {

// 0 for dates outside 1980-2107, which the packed form cannot hold. Odd seconds round down.
std::uint32_t DateTimeToFileDate(rtl::TDateTime dateTime);

// nullopt when the packed value holds no valid date or time.
std::optional<rtl::TDateTime> FileDateToDateTime(std::uint32_t fileDate);

// A file system time stamp (seconds since 1970, UTC) in local time, packed.
std::uint32_t UnixTimeToFileDate(std::time_t time);

} // namespace platform
