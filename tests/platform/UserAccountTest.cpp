#include "platform/UserAccount.h"

#include <gtest/gtest.h>

using platform::FullNameOfNameField;

TEST(UserAccount, TheFullNameIsTheNameFieldUpToTheFirstComma) {
    EXPECT_EQ(FullNameOfNameField("Eva Muster,Raum 4,0301234,"), "Eva Muster");
    EXPECT_EQ(FullNameOfNameField("Eva Muster"), "Eva Muster");
    EXPECT_EQ(FullNameOfNameField(",,,"), "");
    EXPECT_EQ(FullNameOfNameField(""), "");
}

TEST(UserAccount, TheFullNameIsWindows1252TextOrNothing) {
    EXPECT_EQ(FullNameOfNameField("J\xC3\xBCrgen Gr\xC3\xBC\xC3\x9F"), "J\xFCrgen Gr\xFC\xDF");
    // A name the program's text cannot hold is not garbled into question marks.
    EXPECT_EQ(FullNameOfNameField("\xC5\x81ukasz Nowak"), "");
}
