#include "comms/Telnet.h"

#include <gtest/gtest.h>

using comms::TelnetCodec;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

constexpr int IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;

} // namespace

TEST(Telnet, OffersBinaryModeAndAnswersEachOptionOnce) {
    TelnetCodec codec;
    EXPECT_EQ(codec.Greeting(), Bytes({IAC, DO, 0, IAC, WILL, 0, IAC, DO, 3, IAC, WILL, 3}));
    std::string data, replies;
    codec.Decode(
        Bytes({IAC, WILL, 1, IAC, WILL, 0, IAC, DO, 0, IAC, DO, 24, IAC, DO, 99, IAC, WILL, 98}),
        data, replies);
    EXPECT_EQ(data, "");
    EXPECT_EQ(replies, Bytes({IAC, DO, 1, IAC, WILL, 24, IAC, WONT, 99, IAC, DONT, 98}))
        << "echo accepted, binary already agreed, terminal type offered, the rest refused";
    replies.clear();
    codec.Decode(Bytes({IAC, WILL, 1, IAC, DO, 24}), data, replies);
    EXPECT_EQ(replies, "") << "no answer to what is already so: peers never loop";
    codec.Decode(Bytes({IAC, SB, 24, 1, IAC, SE}), data, replies);
    EXPECT_EQ(replies, Bytes({IAC, SB, 24, 0}) + "ANSI" + Bytes({IAC, SE}));
    EXPECT_TRUE(codec.BinaryReceive());
    EXPECT_TRUE(codec.BinarySend());
}

TEST(Telnet, IacIsDoubledOutAndUndoubledInAcrossPieces) {
    TelnetCodec codec;
    codec.Greeting();
    EXPECT_EQ(codec.Encode(Bytes({1, 255, 24, 13})), Bytes({1, 255, 255, 24, 13}));
    std::string data, replies;
    codec.Decode(Bytes({65, IAC}), data, replies);
    codec.Decode(Bytes({IAC, 13, 0, IAC}), data, replies);
    codec.Decode(Bytes({241, 66}), data, replies);
    EXPECT_EQ(data, Bytes({65, 255, 13, 0, 66})) << "binary: CR NUL kept; IAC NOP dropped";
}

TEST(Telnet, OutsideBinaryModeCrIsFollowedByNul) {
    TelnetCodec codec;
    std::string data, replies;
    codec.Decode(Bytes({IAC, DONT, 0, IAC, WONT, 0}), data, replies);
    EXPECT_FALSE(codec.BinarySend());
    EXPECT_EQ(codec.Encode("a\rb"), std::string("a\r\0b", 4));
    codec.Decode(std::string("x\r\0y\r\nz", 7), data, replies);
    EXPECT_EQ(data, "x\ry\r\nz");
}

TEST(Telnet, OverlongSubnegotiationIsDroppedWithoutGrowing) {
    TelnetCodec codec;
    std::string data, replies;
    std::string sub = Bytes({IAC, SB, 24, 1}) + std::string(100'000, 'x') + Bytes({IAC, SE});
    codec.Decode(sub + "after", data, replies);
    EXPECT_EQ(data, "after");
    EXPECT_EQ(replies, "");
}
