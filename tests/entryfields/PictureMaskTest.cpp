#include "entryfields/PictureMask.h"

#include <gtest/gtest.h>

using entryfields::TPictureMask;
using entryfields::TUserData;

namespace {

const QChar kSubst1(0xF1);

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
    EXPECT_EQ(mask.Fit("02.05.96"), "02.05.96");
    // Literals missing from the text are put in; the text's characters are not lost.
    EXPECT_EQ(mask.Fit("020596"), "02.05.96");
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
