// ZModem frames: the checksums, the decoder of what a sender puts on the line (headers in hex,
// binary with CRC-16 and binary with CRC-32, data subpackets with ZDLE escapes), and the hex
// headers a receiver sends back.
//
// The decoder takes the line in pieces of any size and reports each complete frame at once, so
// the receiver can switch it between header and data mode before the next byte is looked at.
// It never reads outside the piece it is given, keeps at most kMaxSubpacket data bytes, and
// reports a malformed frame as an error instead of guessing.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace comms::zmodem {

// Frame types.
enum FrameType : std::uint8_t {
    ZRQINIT = 0,
    ZRINIT = 1,
    ZSINIT = 2,
    ZACK = 3,
    ZFILE = 4,
    ZSKIP = 5,
    ZNAK = 6,
    ZABORT = 7,
    ZFIN = 8,
    ZRPOS = 9,
    ZDATA = 10,
    ZEOF = 11,
    ZFERR = 12,
    ZCRC = 13,
    ZCHALLENGE = 14,
    ZCOMPL = 15,
    ZCAN = 16,
    ZFREECNT = 17,
    ZCOMMAND = 18,
    ZSTDERR = 19
};

inline constexpr char ZPAD = '*';
inline constexpr char ZDLE = 0x18;
inline constexpr char CAN = 0x18;
// Subpacket ends.
inline constexpr char ZCRCE = 'h'; // end of frame, header follows
inline constexpr char ZCRCG = 'i'; // more data follows, no answer wanted
inline constexpr char ZCRCQ = 'j'; // more data follows, ZACK wanted
inline constexpr char ZCRCW = 'k'; // end of frame, ZACK wanted

// ZRINIT capability flags (ZF0).
inline constexpr std::uint8_t CANFDX = 0x01;
inline constexpr std::uint8_t CANOVIO = 0x02;
inline constexpr std::uint8_t CANFC32 = 0x20;
// ZFILE conversion option (ZF0): the sender offers to resume an interrupted file.
inline constexpr std::uint8_t ZCRESUM = 3;

// XON and XOFF, with or without the parity bit: the line's flow control, never data.
constexpr bool IsFlowControl(std::uint8_t c) {
    return c == 0x11 || c == 0x13 || c == 0x91 || c == 0x93;
}

// The largest data subpacket accepted (8K blocks).
inline constexpr std::size_t kMaxSubpacket = 8192;

std::uint16_t Crc16(std::uint16_t crc, std::uint8_t byte);
std::uint32_t Crc32(std::uint32_t crc, std::uint8_t byte);

// Four header bytes; as a position p[0] is the lowest byte, as flags p[3] is ZF0.
using HeaderData = std::array<std::uint8_t, 4>;

HeaderData PositionBytes(std::int64_t position);
std::int64_t PositionOf(const HeaderData& data);

// A hex header as receivers send it, with its trailing CR LF (and XON where the protocol has
// one).
std::string HexHeader(FrameType type, const HeaderData& data);

// The sequence that cancels a transfer: eight CAN, then ten backspaces to wipe them from a
// terminal that shows them.
std::string CancelSequence();

// What the decoder reports.
struct Frame {
    enum Kind {
        Header,    // type and data valid
        Data,      // subpacket: data and end valid
        BadHeader, // a header whose checksum or digits are wrong
        BadData,   // a subpacket with a wrong checksum, a bad escape or too long
        Cancel     // five CAN in a row: the sender gave up
    };
    explicit Frame(Kind what) : kind(what) {}

    Kind kind = Header;
    std::uint8_t type = 0;
    HeaderData data{};
    char end = 0;
    bool crc32 = false;     // a header in the CRC-32 format: its subpackets use CRC-32 too
    std::string_view bytes; // subpacket data, valid during the call only
};

class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void OnFrame(const Frame& frame) = 0;
};

class FrameDecoder {
public:
    explicit FrameDecoder(FrameSink& sink) : sink_(sink) {}

    // Looks for headers; everything else is skipped (and counted as garbage).
    void ExpectHeader();
    // The next bytes are a data subpacket with a CRC-32 or a CRC-16.
    void ExpectData(bool crc32);
    bool ExpectingData() const { return mode_ == Mode::Data; }

    // Decodes bytes until they are used up or stop() is true after a frame; returns how many
    // were used.
    template <class Stop> std::size_t Feed(std::string_view bytes, Stop stop);
    std::size_t Feed(std::string_view bytes) {
        return Feed(bytes, [] { return false; });
    }

    std::uint64_t GarbageCount() const { return garbage_; }

private:
    // The bytes a sender never puts into data unescaped: ZDLE and the flow-control characters.
    static constexpr std::array<bool, 256> kSpecial = [] {
        std::array<bool, 256> special{};
        for (std::size_t c = 0; c < special.size(); ++c) {
            const auto byte = static_cast<std::uint8_t>(c);
            special[c] = byte == static_cast<std::uint8_t>(ZDLE) || IsFlowControl(byte);
        }
        return special;
    }();

    enum class Mode { Header, Data };
    enum class Step { Seek, Pad, PadDle, HexDigits, BinaryHeader, Payload, Check };

    // One line byte in header mode; true when a frame was reported.
    bool HeaderByte(std::uint8_t c);
    // One line byte in data mode; true when a frame was reported.
    bool DataByte(std::uint8_t c);
    // Counts CAN bytes in a row; true when the fifth was reported as a cancel.
    bool CancelByte(std::uint8_t c);
    // ZDLE unescaping: the byte, or -1 when c was consumed without giving one.
    int Unescape(std::uint8_t c);
    void StartBinaryHeader(bool crc32);
    bool FinishHeader();
    bool FinishData();
    bool Report(const Frame& frame);

    FrameSink& sink_;
    Mode mode_ = Mode::Header;
    Step step_ = Step::Seek;
    bool crc32_ = false;
    bool escaped_ = false; // the last byte was ZDLE
    int cans_ = 0;         // CAN bytes in a row
    char end_ = 0;
    std::size_t checkBytes_ = 0;
    std::string header_; // type, four data bytes, check bytes (or hex digits)
    std::string payload_;
    std::string delivered_; // the subpacket being reported
    std::string check_;
    std::uint64_t garbage_ = 0;
};

template <class Stop> std::size_t FrameDecoder::Feed(std::string_view bytes, Stop stop) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (mode_ == Mode::Data && step_ == Step::Payload && !escaped_) {
            // A run of bytes that need no unescaping is taken at once.
            const std::size_t limit = std::min(bytes.size(), i + (kMaxSubpacket - payload_.size()));
            std::size_t end = i;
            while (end < limit && !kSpecial[static_cast<std::uint8_t>(bytes[end])])
                ++end;
            if (end > i) {
                payload_.append(bytes.data() + i, end - i);
                cans_ = 0;
                i = end;
                continue;
            }
        }
        const auto c = static_cast<std::uint8_t>(bytes[i++]);
        const bool reported = CancelByte(c) || (mode_ == Mode::Data ? DataByte(c) : HeaderByte(c));
        if (reported && stop())
            return i;
    }
    return bytes.size();
}

} // namespace comms::zmodem
