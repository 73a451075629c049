#include "install/LPStr.h"

#include "rtl/Exceptions.h"
#include "rtl/Filer.h"

#include <cstring>
#include <gtest/gtest.h>

using install::TLPStr;

namespace {

std::string BytesOf(const rtl::TMemoryStream& stream) {
    return {stream.Bytes().begin(), stream.Bytes().end()};
}

rtl::TMemoryStream StreamOf(const std::string& bytes) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    return stream;
}

// The "PChar" properties of value stored under prefix, as bytes.
std::string Stored(TLPStr& value, const std::string& prefix) {
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(stream, 4096);
        rtl::WriteDefinedProperties(writer, value, prefix);
    }
    return BytesOf(stream);
}

// Reads the defined property in bytes into value; false when it is not value's.
bool ReadProperty(const std::string& bytes, TLPStr& value, const std::string& prefix = "") {
    rtl::TMemoryStream stream = StreamOf(bytes);
    rtl::TReader reader(stream, 4096);
    return rtl::ReadDefinedProperty(reader, value, prefix);
}

} // namespace

TEST(LPStr, FixedCapacityCutsValues) {
    TLPStr value(5);
    EXPECT_TRUE(value.Fixed());
    EXPECT_EQ(value.Size(), 5);
    value.SetValue("abcdefg");
    EXPECT_EQ(value.Value(), "abcd");
    const char* buffer = value.Buffer();
    value.SetValue("xy");
    EXPECT_EQ(value.Buffer(), buffer) << "a fixed value keeps its buffer";
    EXPECT_EQ(value.Value(), "xy");
    value.Clear();
    ASSERT_NE(value.Buffer(), nullptr);
    EXPECT_EQ(value.Value(), "");
}

TEST(LPStr, UnfixedValuesGetBuffersOfTheirOwnLength) {
    TLPStr value;
    EXPECT_FALSE(value.Fixed());
    EXPECT_EQ(value.Buffer(), nullptr);
    value.SetValue("short");
    EXPECT_EQ(value.Size(), 6);
    value.SetValue("a much longer value");
    EXPECT_EQ(value.Size(), 20);
    EXPECT_EQ(value.Value(), "a much longer value");
    value.SetValue(nullptr);
    EXPECT_EQ(value.Buffer(), nullptr);
    EXPECT_EQ(value.Size(), 0);
    // Longer than Size can count: cut to the most it can.
    const std::string huge(70000, 'h');
    value.SetValue(huge.c_str());
    EXPECT_EQ(value.Size(), 65535);
    EXPECT_EQ(value.Value().size(), 65534u);
}

TEST(LPStr, SetSizeFixesResizesOrReleases) {
    TLPStr value;
    value.SetValue("hello world");
    value.SetSize(6);
    EXPECT_TRUE(value.Fixed());
    EXPECT_EQ(value.Value(), "hello");
    value.SetSize(6);
    EXPECT_TRUE(value.Fixed());
    value.SetSize(0);
    EXPECT_FALSE(value.Fixed());
    EXPECT_EQ(value.Value(), "hello") << "the buffer stays";
    // Fixed at a capacity of nothing: values have nowhere to go, and nothing breaks.
    TLPStr none;
    none.SetSize(0);
    EXPECT_TRUE(none.Fixed());
    none.SetValue("x");
    none.Clear();
    EXPECT_EQ(none.Value(), "");
}

TEST(LPStr, CopyToNeverWritesPastTheDestination) {
    TLPStr value;
    std::unique_ptr<char[]> destination;
    std::size_t capacity = 0;
    value.CopyTo(destination, capacity);
    EXPECT_EQ(capacity, 2u);
    EXPECT_STREQ(destination.get(), "");

    value.SetValue("abc");
    auto roomy = std::make_unique<char[]>(10);
    char* roomyBuffer = roomy.get();
    std::size_t roomyCapacity = 10;
    value.CopyTo(roomy, roomyCapacity);
    EXPECT_EQ(roomy.get(), roomyBuffer);
    EXPECT_STREQ(roomy.get(), "abc");

    auto tight = std::make_unique<char[]>(3);
    std::size_t tightCapacity = 3;
    value.CopyTo(tight, tightCapacity);
    EXPECT_EQ(tightCapacity, 4u);
    EXPECT_STREQ(tight.get(), "abc");
}

TEST(LPStr, LoadFromStreamUpToTheCapacity) {
    TLPStr value;
    value.SetValue("before");
    rtl::TMemoryStream full = StreamOf(std::string(32768, 'x'));
    try {
        value.LoadFromStream(full);
        FAIL() << "no error";
    } catch (const rtl::EStreamError& error) {
        EXPECT_EQ(error.Message(), "Line too long");
    }
    EXPECT_EQ(value.Value(), "before");
    rtl::TMemoryStream fits = StreamOf(std::string(32767, 'y'));
    value.LoadFromStream(fits);
    EXPECT_EQ(value.Value(), std::string(32767, 'y'));

    TLPStr fixed(5);
    rtl::TMemoryStream four = StreamOf("abcd");
    rtl::TMemoryStream five = StreamOf("abcde");
    fixed.LoadFromStream(four);
    EXPECT_EQ(fixed.Value(), "abcd");
    EXPECT_THROW(fixed.LoadFromStream(five), rtl::EStreamError);
}

TEST(LPStr, SaveToStreamWritesTheCharactersOnly) {
    TLPStr value;
    rtl::TMemoryStream empty;
    value.SaveToStream(empty);
    EXPECT_EQ(empty.Size(), 0);
    value.SetValue("*.*");
    rtl::TMemoryStream stream;
    value.SaveToStream(stream);
    EXPECT_EQ(BytesOf(stream), "*.*");
}

TEST(LPStr, StoredAsPCharPropertyByBytes) {
    TLPStr value;
    EXPECT_EQ(Stored(value, "lpszFileSpec"), "") << "an empty value is not stored";
    value.SetValue("*.*");
    EXPECT_EQ(Stored(value, "lpszFileSpec"),
              std::string("\x12lpszFileSpec.PChar\x0A\x04\x00\x00\x00*.*\x00", 28));

    TLPStr loaded;
    EXPECT_TRUE(ReadProperty(Stored(value, "lpszFileSpec"), loaded, "lpszFileSpec"));
    EXPECT_EQ(loaded.Value(), "*.*");
}

TEST(LPStr, DamagedPCharPropertiesAreInvalidPropertyValues) {
    const std::string name = "\x05PChar";
    for (const std::string& data :
         {std::string("\x06\x04\x00\x00\x00*.*\x00", 9), std::string("\x0A\xFF\xFF\xFF\x7F", 5),
          std::string("\x0A\xFF\xFF\xFF\xFF", 5), std::string("\x0A\x01\x00\x01\x00", 5)}) {
        TLPStr value;
        try {
            ReadProperty(name + data, value);
            FAIL() << "no error";
        } catch (const rtl::EReadError& error) {
            EXPECT_EQ(error.Message(), rtl::kInvalidPropertyValue);
        }
    }
    // A length of zero leaves the value alone; an unknown name is not read.
    TLPStr value;
    EXPECT_TRUE(ReadProperty(name + std::string("\x0A\x00\x00\x00\x00", 5), value));
    EXPECT_EQ(value.Buffer(), nullptr);
    EXPECT_FALSE(ReadProperty("\x05Other", value));
}
