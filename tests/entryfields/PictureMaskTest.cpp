#include "entryfields/PictureMask.h"

#include <gtest/gtest.h>

using entryfields::TPictureMask;
using entryfields::TUserData;

namespace {

const QChar kSubst1(0xF1);

TEST(PictureMask, DigitPositionsTakeADigitOrStayBlank) {
    const TPictureMask mask("99999");
    EXPECT_TRUE(mask.Accepts(0, u'7'));
    EXPECT_TRUE(mask.Accepts(4, u' '));
    EXPECT_FALSE(mask.Accepts(1, u'a'));
    EXPECT_FALSE(mask.Accepts(5, u'1'));
    EXPECT_EQ(mask.Fit("1234"), "1234 ");
    EXPECT_EQ(mask.Fit(""), "     ");
    EXPECT_EQ(mask.FirstForbidden("1234"), -1);
    EXPECT_EQ(mask.FirstForbidden(""), -1);
    EXPECT_EQ(mask.FirstForbidden("12a45"), 2);
}

TEST(PictureMask, AnyCharacterPositionsTakeEverything) {
    const TPictureMask mask("XXXXX");
    EXPECT_TRUE(mask.Accepts(0, u'ß'));
    EXPECT_TRUE(mask.Accepts(2, u'-'));
    EXPECT_EQ(mask.FirstForbidden("A-1 ß"), -1);
    EXPECT_EQ(mask.Fit("ABCDEFG"), "ABCDE");
}

TEST(PictureMask, SubstitutionCharactersAreTheLiteralsTheUserDataDefines) {
    TUserData userData;
    userData.SetSubstChar(kSubst1, u'.');
    const QString picture = QString("99") + kSubst1 + "99" + kSubst1 + "99";
    const TPictureMask mask(picture, &userData);
    EXPECT_EQ(mask.Length(), 8);
    EXPECT_FALSE(mask.IsInputPos(2));
    EXPECT_EQ(mask.LiteralAt(5), u'.');
    EXPECT_EQ(mask.EmptyText(), "  .  .  ");
    EXPECT_EQ(mask.Fit("02.05.96"), "02.05.96");
    // Literals missing from the text are put in; the text's characters are not lost.
    EXPECT_EQ(mask.Fit("020596"), "02.05.96");
    EXPECT_EQ(mask.NextInputPos(2), 3);
    EXPECT_EQ(mask.PrevInputPos(3), 1);
    // Without user data the substitution character stands for itself.
    EXPECT_EQ(TPictureMask(picture).LiteralAt(2), kSubst1);
}

TEST(PictureMask, DatePartsAreReadFromTheirPositions) {
    const TPictureMask mask("mm/yy");
    EXPECT_EQ(mask.DatePart("07/26", u'm'), "07");
    EXPECT_EQ(mask.DatePart("07/26", u'y'), "26");
    EXPECT_EQ(mask.DatePart("7", u'm'), "7 ");
    EXPECT_EQ(mask.DatePart("07/26", u'd'), "");
    EXPECT_EQ(mask.FirstForbidden("0x/26"), 1);
}

} // namespace
