#include "rtl/DateUtils.h"

#include "rtl/Exceptions.h"
#include "rtl/StrUtils.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace rtl {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, and back (after H. Hinnant).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateParts CivilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
    return {y, m, d};
}

// 1899-12-30 counted from 1970-01-01.
constexpr long kEpochOffset = -25569;

// Splits "n.n" or "n.n.n" into numbers with their digit counts; false for anything else.
bool SplitDateNumbers(const std::string& text, std::vector<std::pair<long, int>>& numbers) {
    long value = 0;
    int digits = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '.') {
            if (digits == 0)
                return false;
            numbers.emplace_back(value, digits);
            value = 0;
            digits = 0;
        } else if (text[i] >= '0' && text[i] <= '9') {
            if (++digits > 9)
                return false;
            value = value * 10 + (text[i] - '0');
        } else {
            return false;
        }
    }
    return numbers.size() == 2 || numbers.size() == 3;
}

int WindowedYear(long year, int digits, int currentYear) {
    if (digits > 2)
        return static_cast<int>(year);
    const int first = currentYear - 80;
    const int offset = static_cast<int>(((year - first) % 100 + 100) % 100);
    return first + offset;
}

} // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(DaysFromCivil(year, month, day) - kEpochOffset);
}

DateParts DecodeDate(TDateTime date) {
    return CivilFromDays(static_cast<long>(std::floor(date)) + kEpochOffset);
}

TDateTime Date() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return EncodeDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
}

int CurrentYear() {
    return DecodeDate(Date()).year;
}

bool TryStrToDate(const std::string& text, int currentYear, TDateTime& date) {
    std::vector<std::pair<long, int>> numbers;
    if (!SplitDateNumbers(TrimBlanks(text), numbers))
        return false;
    const long day = numbers[0].first;
    const long month = numbers[1].first;
    const int year = numbers.size() == 3
                         ? WindowedYear(numbers[2].first, numbers[2].second, currentYear)
                         : currentYear;
    if (day > 31 || month > 12 ||
        !IsValidDate(year, static_cast<int>(month), static_cast<int>(day)))
        return false;
    date = EncodeDate(year, static_cast<int>(month), static_cast<int>(day));
    return true;
}

TDateTime StrToDate(const std::string& text, int currentYear) {
    TDateTime date = 0;
    if (!TryStrToDate(text, currentYear, date))
        throw EConvertError("'" + text + "' is not a valid date");
    return date;
}

TDateTime StrToDate(const std::string& text) {
    return StrToDate(text, CurrentYear());
}

std::string DateToStr(TDateTime date) {
    const DateParts parts = DecodeDate(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d", parts.day, parts.month, parts.year % 100);
    return text;
}

} // namespace rtl
