#include "rtl/DateUtils.h"

#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace rtl;

TEST(DateUtils, DayZeroIsTheEpochAndEncodeRoundTrips) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1996, 5, 2), 35187.0);
    EXPECT_EQ(DecodeDate(35187.0), (DateParts{1996, 5, 2}));
    EXPECT_EQ(DecodeDate(EncodeDate(1600, 2, 29)), (DateParts{1600, 2, 29}));
}

TEST(DateUtils, InvalidDatesRaiseTheEncodeError) {
    EXPECT_THROW(EncodeDate(1997, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    try {
        EncodeDate(1996, 13, 1);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
}

TEST(DateUtils, TwoDigitYearsFallInTheWindowAroundTheCurrentYear) {
    EXPECT_EQ(DecodeDate(StrToDate("02.05.96", 2026)), (DateParts{1996, 5, 2}));
    EXPECT_EQ(DecodeDate(StrToDate("01.01.45", 2026)), (DateParts{2045, 1, 1}));
    EXPECT_EQ(DecodeDate(StrToDate("01.01.46", 2026)), (DateParts{1946, 1, 1}));
    EXPECT_EQ(DecodeDate(StrToDate("1.2.5", 2026)), (DateParts{2005, 2, 1}));
    EXPECT_EQ(DecodeDate(StrToDate("1.2.05", 2100)), (DateParts{2105, 2, 1}));
}

TEST(DateUtils, LongYearsAndMissingYears) {
    EXPECT_EQ(DecodeDate(StrToDate("12.03.1996", 2026)), (DateParts{1996, 3, 12}));
    EXPECT_EQ(DecodeDate(StrToDate("12.03.850", 2026)), (DateParts{850, 3, 12}));
    EXPECT_EQ(DecodeDate(StrToDate("  12.3  ", 2026)), (DateParts{2026, 3, 12}));
}

TEST(DateUtils, MalformedTextIsAConversionError) {
    for (const char* text :
         {"", "soon", "12.03.96.1", "12-03-96", "12..96", "12.03.", "+1.2.96", "31.04.96",
          "29.02.97", "0.1.96", "1.0.96", "12.03.12345", "1 2.03.96", "12.03.96x", "12.03.0000"}) {
        TDateTime date = 0;
        EXPECT_FALSE(TryStrToDate(text, 2026, date)) << text;
    }
    try {
        StrToDate("soon", 2026);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'soon' is not a valid date");
    }
}

TEST(DateUtils, ShortDateTextHasTwoDigitFields) {
    EXPECT_EQ(DateToStr(EncodeDate(1996, 5, 2)), "02.05.96");
    EXPECT_EQ(DateToStr(EncodeDate(2005, 12, 31)), "31.12.05");
}
