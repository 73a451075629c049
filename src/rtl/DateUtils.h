// Date values as days since 1899-12-30 (a 64-bit float), and the program's short date text
// "dd.mm.yy".
#pragma once

#include <string>

namespace rtl {

using TDateTime = double;

struct DateParts {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const DateParts&) const = default;
};

bool IsValidDate(int year, int month, int day);
// "Invalid argument to date encode" (EConvertError) for anything but a Gregorian date of
// the years 1 to 9999.
TDateTime EncodeDate(int year, int month, int day);
DateParts DecodeDate(TDateTime date);
// Today at time 0, from the local clock.
TDateTime Date();
int CurrentYear();

// Parses day, month and an optional year separated by "." (blanks around the whole text are
// allowed). A year of one or two digits falls in the hundred years from currentYear - 80 to
// currentYear + 19; three or four digits are taken as they are; a missing year is currentYear.
// Anything else is EConvertError "'<text>' is not a valid date".
TDateTime StrToDate(const std::string& text, int currentYear);
TDateTime StrToDate(const std::string& text);
bool TryStrToDate(const std::string& text, int currentYear, TDateTime& date);

// "dd.mm.yy".
std::string DateToStr(TDateTime date);

} // namespace rtl
