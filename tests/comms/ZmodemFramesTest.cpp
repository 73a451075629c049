#include "comms/ZmodemFrames.h"

#include "comms/DownloadFolder.h"

#include <gtest/gtest.h>
#include <vector>

using namespace comms;
using namespace comms::zmodem;

namespace {

struct Recorder : FrameSink {
    void OnFrame(const Frame& frame) override {
        kinds.push_back(frame.kind);
        types.push_back(frame.type);
        data.emplace_back(frame.bytes);
        positions.push_back(PositionOf(frame.data));
    }
    std::vector<Frame::Kind> kinds;
    std::vector<int> types;
    std::vector<std::string> data;
    std::vector<std::int64_t> positions;
};

// A CRC-16 data subpacket as a sender escapes it.
std::string Subpacket16(const std::string& bytes, char end) {
    std::string out;
    std::uint16_t crc = 0;
    for (char c : bytes) {
        crc = Crc16(crc, static_cast<std::uint8_t>(c));
        if (c == ZDLE || c == 0x11 || c == 0x13) {
            out += ZDLE;
            out += static_cast<char>(c ^ 0x40);
        } else {
            out += c;
        }
    }
    crc = Crc16(crc, static_cast<std::uint8_t>(end));
    out += ZDLE;
    out += end;
    out += static_cast<char>(crc >> 8);
    out += static_cast<char>(crc & 0xFF);
    return out;
}

} // namespace

TEST(ZmodemFrames, HexHeaderRoundTripsByteByByteAndNoticesACorruptDigit) {
    const std::string header = HexHeader(ZRPOS, PositionBytes(0x12345678));
    EXPECT_EQ(header.substr(0, 6), "**\x18"
                                   "B09");
    Recorder recorder;
    FrameDecoder decoder(recorder);
    for (char c : "noise " + header)
        decoder.Feed(std::string_view(&c, 1));
    ASSERT_EQ(recorder.kinds.size(), 1u);
    EXPECT_EQ(recorder.kinds[0], Frame::Header);
    EXPECT_EQ(recorder.types[0], ZRPOS);
    EXPECT_EQ(recorder.positions[0], 0x12345678);

    std::string bad = header;
    bad[8] = bad[8] == '0' ? '1' : '0';
    decoder.Feed(bad);
    EXPECT_EQ(recorder.kinds.back(), Frame::BadHeader);
}

TEST(ZmodemFrames, DataSubpacketsAreUnescapedAndChecked) {
    Recorder recorder;
    FrameDecoder decoder(recorder);
    const std::string payload("a\x18z\x11\x13\xff", 6);
    decoder.ExpectData(false);
    decoder.Feed(Subpacket16(payload, ZCRCG) + Subpacket16("zwei", ZCRCW));
    ASSERT_EQ(recorder.kinds.size(), 2u);
    EXPECT_EQ(recorder.kinds[0], Frame::Data);
    EXPECT_EQ(recorder.data[0], payload);
    EXPECT_EQ(recorder.data[1], "zwei");
    EXPECT_FALSE(decoder.ExpectingData()) << "ZCRCW ends the frame";

    std::string damaged = Subpacket16("kaputt", ZCRCE);
    damaged[2] = 'X';
    decoder.ExpectData(false);
    decoder.Feed(damaged);
    EXPECT_EQ(recorder.kinds.back(), Frame::BadData);
}

TEST(ZmodemFrames, OversizedSubpacketBadEscapeAndFiveCansAreReported) {
    Recorder recorder;
    FrameDecoder decoder(recorder);
    decoder.ExpectData(true);
    decoder.Feed(std::string(kMaxSubpacket + 1, 'x'));
    EXPECT_EQ(recorder.kinds.back(), Frame::BadData);
    EXPECT_FALSE(decoder.ExpectingData());

    decoder.ExpectData(true);
    decoder.Feed(std::string("ab\x18\x01", 4));
    EXPECT_EQ(recorder.kinds.back(), Frame::BadData) << "ZDLE before a plain control byte";

    decoder.Feed(std::string(5, CAN));
    EXPECT_EQ(recorder.kinds.back(), Frame::Cancel);
}

TEST(ZmodemFrames, FileInformationAndSafeNames) {
    static constexpr char kBlock[] = "dir/file.zip\0"
                                     "1234 14371573032 100644 0 1 1234";
    const FileOffer offer = ParseFileInformation(std::string(kBlock, sizeof kBlock));
    EXPECT_EQ(offer.name, "dir/file.zip");
    EXPECT_EQ(offer.length, 1234);
    EXPECT_EQ(offer.modified, 014371573032);
    const FileOffer bare = ParseFileInformation(std::string("x\0", 2));
    EXPECT_EQ(bare.length, -1);
    EXPECT_EQ(bare.modified, 0);
    EXPECT_EQ(ParseFileInformation("no terminator").name, "no terminator");

    EXPECT_EQ(SafeName("../../etc/passwd"), "passwd");
    EXPECT_EQ(SafeName("C:\\DOS\\KOMP.ZIP"), "KOMP.ZIP");
    EXPECT_EQ(SafeName(".."), "");
    EXPECT_EQ(SafeName("a/."), "");
    EXPECT_EQ(SafeName("dir/"), "");
    EXPECT_EQ(SafeName("a\x1b[2Jb"), "");
    EXPECT_EQ(SafeName(std::string(201, 'n')), "");
    EXPECT_EQ(SafeName(".profile"), ".profile");
}
