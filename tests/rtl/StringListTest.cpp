#include "rtl/StringList.h"

#include "rtl/Component.h"
#include "rtl/Exceptions.h"

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
