#include "rtl/Stream.h"

#include "rtl/Exceptions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace rtl;
using testing_support::TempDir;

TEST(FileStream, OpeningAMissingFileNamesThePath) {
    TempDir dir;
    const std::string path = dir.File("missing.dat");
    try {
        TFileStream stream(path, FileMode::OpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + path);
    }
    const std::string unreachable = dir.File("no/such/folder/x");
    try {
        TFileStream stream(unreachable, FileMode::Create);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + unreachable);
    }
}

TEST(FileStream, WritesSeeksAndReadsBack) {
    TempDir dir;
    const std::string path = dir.File("a.bin");
    {
        TFileStream out(path, FileMode::Create);
        out.WriteBuffer("hello world", 11);
        EXPECT_EQ(out.Size(), 11);
    }
    TFileStream in(path, FileMode::OpenRead);
    char buffer[16] = {};
    in.Seek(6, SeekOrigin::Beginning);
    EXPECT_EQ(in.Read(buffer, 16), 5);
    EXPECT_EQ(std::string(buffer, 5), "world");
    in.Seek(-5, SeekOrigin::Current);
    EXPECT_EQ(in.Position(), 6);
    EXPECT_THROW(in.ReadBuffer(buffer, 6), EReadError);
}

TEST(MemoryStream, GrowsOnWriteAndStopsReadingAtItsEnd) {
    TMemoryStream stream;
    stream.Seek(4, SeekOrigin::Beginning);
    stream.WriteBuffer("ab", 2);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(0);
    char buffer[8];
    EXPECT_EQ(stream.Read(buffer, 8), 6);
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(std::string(buffer + 4, 2), "ab");
}
