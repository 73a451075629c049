#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(DynamicLibrary, WindowsNamesBecomeSharedLibraryNames) {
    EXPECT_EQ(SharedLibraryFileName("DUNZIP32.DLL"), "libdunzip32.so");
    EXPECT_EQ(SharedLibraryFileName("DUnzip32.dll"), "libdunzip32.so");
    EXPECT_EQ(SharedLibraryFileName("libz.so.1"), "libz.so.1");
}

TEST(DynamicLibrary, LibraryBesideTheProgramIsLoadedByItsWindowsName) {
    const HMODULE module = LoadLibrary("dunzip32.DLL");
    ASSERT_NE(module, nullptr);
    using Entry = int (*)(int);
    const auto entry = reinterpret_cast<Entry>(GetProcAddress(module, "VitrineTestEntry"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(21), 42);
    EXPECT_EQ(GetProcAddress(module, "dunzip_missing"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(DynamicLibrary, MissingLibraryIsNull) {
    EXPECT_EQ(LoadLibrary("NOSUCH99.DLL"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}
