#include "rtl/StringList.h"

#include "rtl/Component.h"
#include "rtl/Exceptions.h"
#include "rtl/StrUtils.h"

#include <gtest/gtest.h>

using namespace rtl;

TEST(StringList, IndexErrorsRaiseTheListError) {
    TStringList list;
    list.AddObject("a", 7);
    EXPECT_EQ(list.Objects(0), 7);
    EXPECT_THROW(list.Strings(1), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(2, "x"), EListError);
    list.Insert(1, "b");
    EXPECT_EQ(list.Text(), "a\r\nb\r\n");
}

TEST(StrUtils, UpperCasingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(UpperCaseAscii("Gr\xF6\xDF"
                             "e abc-z"),
              "GR\xF6\xDF"
              "E ABC-Z");
    EXPECT_EQ(FindNoCase("Hallo <f1>Welt", "<F"), 6u);
    EXPECT_EQ(TrimBlanks("  a b\t "), "a b\t");
}

TEST(StrUtils, IntegersAreAnOptionalSignAndDigits) {
    long long v = 0;
    EXPECT_TRUE(TryStrToInt("-12", v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(TryStrToInt("+7", v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"", "-", "x", "1 ", " 1", "1.5", "99999999999999999999999"})
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
}

TEST(Component, AnOwnerFreesWhatItOwns) {
    static int alive = 0;
    struct Counted : TComponent {
        explicit Counted(TComponent* owner) : TComponent(owner) { ++alive; }
        ~Counted() override { --alive; }
    };
    {
        Counted owner(nullptr);
        auto* child = new Counted(&owner);
        new Counted(child);
        auto* freedEarly = new Counted(&owner);
        delete freedEarly;
        EXPECT_EQ(owner.ComponentCount(), 1);
        EXPECT_EQ(alive, 3);
    }
    EXPECT_EQ(alive, 0);
}
