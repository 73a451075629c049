#include "platform/DosDateTime.h"

#include <cmath>

namespace platform {

namespace {

constexpr double kSecondsPerDay = 86400.0;

std::uint32_t Pack(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1980 || year > 2107)
        return 0;
    const auto date = static_cast<std::uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    const auto time = static_cast<std::uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return date << 16 | time;
}

} // namespace

std::uint32_t DateTimeToFileDate(rtl::TDateTime dateTime) {
    if (!(dateTime >= 0) || dateTime > 1e7)
        return 0;
    const rtl::DateParts date = rtl::DecodeDate(dateTime);
    // Rounded to whole seconds first so that 12:00:00 stored as 0.4999999 stays 12:00:00.
    auto seconds =
        static_cast<long>(std::lround((dateTime - std::floor(dateTime)) * kSecondsPerDay));
    if (seconds >= 86400)
        seconds = 86399;
    return Pack(date.year, date.month, date.day, static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

std::optional<rtl::TDateTime> FileDateToDateTime(std::uint32_t fileDate) {
    const int year = 1980 + static_cast<int>(fileDate >> 25);
    const int month = static_cast<int>((fileDate >> 21) & 0x0F);
    const int day = static_cast<int>((fileDate >> 16) & 0x1F);
    const int hour = static_cast<int>((fileDate >> 11) & 0x1F);
    const int minute = static_cast<int>((fileDate >> 5) & 0x3F);
    const int second = static_cast<int>(fileDate & 0x1F) * 2;
    if (!rtl::IsValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return rtl::EncodeDate(year, month, day) +
           (hour * 3600 + minute * 60 + second) / kSecondsPerDay;
}

std::uint32_t UnixTimeToFileDate(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return 0;
    return Pack(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec);
}

} // namespace platform
