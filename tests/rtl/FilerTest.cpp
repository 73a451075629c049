#include "rtl/Filer.h"

#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace rtl;

namespace {

// Records every Write call so the blocks a writer hands over can be counted.
class CountingStream : public TStream {
public:
    std::int32_t Read(void* buffer, std::int32_t count) override {
        return inner.Read(buffer, count);
    }
    std::int32_t Write(const void* buffer, std::int32_t count) override {
        writes.push_back(count);
        return inner.Write(buffer, count);
    }
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
        return inner.Seek(offset, origin);
    }
    TMemoryStream inner;
    std::vector<std::int32_t> writes;
};

} // namespace

TEST(Filer, StringTagsSwitchAt256Characters) {
    TMemoryStream stream;
    {
        TWriter writer(stream, 64);
        writer.WriteString(std::string(255, 'a'));
        writer.WriteString(std::string(256, 'b'));
    }
    const auto& bytes = stream.Bytes();
    ASSERT_EQ(bytes.size(), 2u + 255 + 5 + 256);
    EXPECT_EQ(bytes[0], 0x06);
    EXPECT_EQ(bytes[1], 255);
    EXPECT_EQ(bytes[257], 0x0C);
    EXPECT_EQ(bytes[258], 0x00);
    EXPECT_EQ(bytes[259], 0x01);
    stream.SetPosition(0);
    TReader reader(stream, 7);
    EXPECT_EQ(reader.ReadString(), std::string(255, 'a'));
    EXPECT_EQ(reader.ReadString(), std::string(256, 'b'));
}

TEST(Filer, AFullBufferIsHandedOverOnlyWhenMoreBytesArrive) {
    CountingStream exact;
    {
        TWriter writer(exact, 8);
        writer.Write("12345678", 8);
    }
    EXPECT_EQ(exact.writes, (std::vector<std::int32_t>{8}));

    CountingStream oneMore;
    {
        TWriter writer(oneMore, 8);
        writer.Write("123456789", 9);
    }
    EXPECT_EQ(oneMore.writes, (std::vector<std::int32_t>{8, 1}));

    CountingStream empty;
    { TWriter writer(empty, 8); }
    EXPECT_TRUE(empty.writes.empty());
}

TEST(Filer, UnknownTagIsAnInvalidPropertyValue) {
    TMemoryStream stream;
    stream.WriteBuffer("\x07\x01x", 3);
    stream.SetPosition(0);
    TReader reader(stream, 16);
    try {
        reader.ReadString();
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Invalid property value");
    }
}

TEST(Filer, AHugeStoredLengthFailsWhenTheDataRunsOut) {
    TMemoryStream stream;
    stream.WriteBuffer("\x0C\xFF\xFF\xFF\x7F"
                       "abc",
                       8);
    stream.SetPosition(0);
    TReader reader(stream, 16);
    EXPECT_THROW(reader.ReadString(), EReadError);
}

TEST(Filer, ReaderGivesBackUnconsumedBytesWhenFreed) {
    TMemoryStream stream;
    stream.WriteBuffer("\x01\x00\x00\x00rest", 8);
    stream.SetPosition(0);
    {
        TReader reader(stream, 64);
        EXPECT_EQ(reader.ReadInteger(), 1);
    }
    EXPECT_EQ(stream.Position(), 4);
}
