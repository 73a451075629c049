#include "comms/ZmodemFrames.h"

#include "rtl/StrUtils.h"

namespace comms::zmodem {

namespace {

constexpr int kSkip = -1; // the byte was used up without giving one (ZDLE, flow control)
constexpr int kBad = -2;  // an escape no sender makes
constexpr int kEnd = -3;  // ZDLE + a subpacket end

constexpr auto MakeCrc16Table() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned n = 0; n < 256; ++n) {
        unsigned crc = n << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
        table[n] = static_cast<std::uint16_t>(crc);
    }
    return table;
}

constexpr auto MakeCrc32Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t crc = n;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[n] = crc;
    }
    return table;
}

constexpr auto kCrc16Table = MakeCrc16Table();
constexpr auto kCrc32Table = MakeCrc32Table();

bool IsSubpacketEnd(std::uint8_t c) {
    return c == ZCRCE || c == ZCRCG || c == ZCRCQ || c == ZCRCW;
}

void AppendHex(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

// True when bytes followed by their CRC-16 (high byte first) check out.
bool Crc16Holds(std::string_view bytes, std::string_view check) {
    std::uint16_t crc = 0;
    for (char c : bytes)
        crc = Crc16(crc, static_cast<std::uint8_t>(c));
    for (char c : check)
        crc = Crc16(crc, static_cast<std::uint8_t>(c));
    return crc == 0;
}

// True when the CRC-32 of bytes equals check (lowest byte first).
bool Crc32Holds(std::string_view bytes, std::string_view check) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes)
        crc = Crc32(crc, static_cast<std::uint8_t>(c));
    crc = ~crc;
    std::uint32_t sent = 0;
    for (std::size_t i = 0; i < 4; ++i)
        sent |= std::uint32_t{static_cast<std::uint8_t>(check[i])} << (8 * i);
    return crc == sent;
}

} // namespace

std::uint16_t Crc16(std::uint16_t crc, std::uint8_t byte) {
    return static_cast<std::uint16_t>((crc << 8) ^ kCrc16Table[(crc >> 8) ^ byte]);
}

std::uint32_t Crc32(std::uint32_t crc, std::uint8_t byte) {
    return kCrc32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

HeaderData PositionBytes(std::int64_t position) {
    const auto p = static_cast<std::uint32_t>(position);
    return {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 24)};
}

std::int64_t PositionOf(const HeaderData& data) {
    return std::int64_t{data[0]} | std::int64_t{data[1]} << 8 | std::int64_t{data[2]} << 16 |
           std::int64_t{data[3]} << 24;
}

std::string HexHeader(FrameType type, const HeaderData& data) {
    std::string out = {ZPAD, ZPAD, ZDLE, 'B'};
    std::uint16_t crc = Crc16(0, type);
    AppendHex(out, type);
    for (std::uint8_t byte : data) {
        AppendHex(out, byte);
        crc = Crc16(crc, byte);
    }
    AppendHex(out, static_cast<std::uint8_t>(crc >> 8));
    AppendHex(out, static_cast<std::uint8_t>(crc));
    out += "\r\x8a";
    if (type != ZFIN && type != ZACK)
        out += '\x11';
    return out;
}

std::string CancelSequence() {
    return std::string(8, CAN) + std::string(10, '\b');
}

void FrameDecoder::ExpectHeader() {
    mode_ = Mode::Header;
    step_ = Step::Seek;
    escaped_ = false;
}

void FrameDecoder::ExpectData(bool crc32) {
    mode_ = Mode::Data;
    step_ = Step::Payload;
    crc32_ = crc32;
    checkBytes_ = crc32 ? 4 : 2;
    escaped_ = false;
    payload_.clear();
}

int FrameDecoder::Unescape(std::uint8_t c) {
    if (!escaped_) {
        if (c == static_cast<std::uint8_t>(ZDLE)) {
            escaped_ = true;
            return kSkip;
        }
        return IsFlowControl(c) ? kSkip : c;
    }
    if (kSpecial[c])
        return kSkip; // still escaped: CANs of a cancel, or flow control slipped in
    escaped_ = false;
    if (IsSubpacketEnd(c)) {
        end_ = static_cast<char>(c);
        return kEnd;
    }
    if (c == 'l')
        return 0x7F;
    if (c == 'm')
        return 0xFF;
    if ((c & 0x60) == 0x40)
        return c ^ 0x40;
    return kBad;
}

bool FrameDecoder::Report(const Frame& frame) {
    sink_.OnFrame(frame);
    return true;
}

void FrameDecoder::StartBinaryHeader(bool crc32) {
    step_ = Step::BinaryHeader;
    crc32_ = crc32;
    checkBytes_ = crc32 ? 4 : 2;
    escaped_ = false;
    header_.clear();
}

bool FrameDecoder::HeaderByte(std::uint8_t c) {
    switch (step_) {
    case Step::Seek:
        if (c == static_cast<std::uint8_t>(ZPAD))
            step_ = Step::Pad;
        else
            ++garbage_;
        return false;
    case Step::Pad:
        if (c == static_cast<std::uint8_t>(ZDLE))
            step_ = Step::PadDle;
        else if (c != static_cast<std::uint8_t>(ZPAD))
            step_ = Step::Seek;
        return false;
    case Step::PadDle:
        if (c == 'A' || c == 'C') {
            StartBinaryHeader(c == 'C');
        } else if (c == 'B') {
            step_ = Step::HexDigits;
            header_.clear();
        } else {
            step_ = Step::Seek;
            ++garbage_;
        }
        return false;
    case Step::HexDigits:
        if (rtl::HexDigitValue(static_cast<char>(c & 0x7F)) < 0) {
            step_ = Step::Seek;
            return Report(Frame(Frame::BadHeader));
        }
        header_ += static_cast<char>(c & 0x7F);
        return header_.size() == 14 && FinishHeader();
    case Step::BinaryHeader: {
        const int byte = Unescape(c);
        if (byte == kSkip)
            return false;
        if (byte < 0) {
            step_ = Step::Seek;
            return Report(Frame(Frame::BadHeader));
        }
        header_ += static_cast<char>(byte);
        return header_.size() == 5 + checkBytes_ && FinishHeader();
    }
    case Step::Payload:
    case Step::Check:
        break;
    }
    step_ = Step::Seek;
    return false;
}

bool FrameDecoder::FinishHeader() {
    const bool hex = step_ == Step::HexDigits;
    step_ = Step::Seek;
    std::string bytes;
    if (hex) {
        for (std::size_t i = 0; i < header_.size(); i += 2)
            bytes += static_cast<char>(rtl::HexDigitValue(header_[i]) * 16 +
                                       rtl::HexDigitValue(header_[i + 1]));
    } else {
        bytes = header_;
    }
    const std::string_view body = std::string_view(bytes).substr(0, 5);
    const std::string_view check = std::string_view(bytes).substr(5);
    const bool good = (!hex && crc32_) ? Crc32Holds(body, check) : Crc16Holds(body, check);
    if (!good)
        return Report(Frame(Frame::BadHeader));
    Frame frame(Frame::Header);
    frame.type = static_cast<std::uint8_t>(bytes[0]);
    frame.crc32 = !hex && crc32_;
    for (std::size_t i = 0; i < 4; ++i)
        frame.data[i] = static_cast<std::uint8_t>(bytes[1 + i]);
    return Report(frame);
}

bool FrameDecoder::DataByte(std::uint8_t c) {
    const int byte = Unescape(c);
    if (byte == kSkip)
        return false;
    if (step_ == Step::Payload) {
        if (byte == kEnd) {
            step_ = Step::Check;
            check_.clear();
            return false;
        }
        if (byte >= 0 && payload_.size() < kMaxSubpacket) {
            payload_ += static_cast<char>(byte);
            return false;
        }
    } else if (byte >= 0) {
        check_ += static_cast<char>(byte);
        return check_.size() == checkBytes_ && FinishData();
    }
    ExpectHeader();
    return Report(Frame(Frame::BadData));
}

bool FrameDecoder::FinishData() {
    payload_ += end_;
    const bool good = crc32_ ? Crc32Holds(payload_, check_) : Crc16Holds(payload_, check_);
    payload_.pop_back();
    delivered_.swap(payload_);
    payload_.clear();
    Frame frame(good ? Frame::Data : Frame::BadData);
    frame.end = end_;
    frame.bytes = delivered_;
    if (good && (end_ == ZCRCG || end_ == ZCRCQ))
        step_ = Step::Payload;
    else
        ExpectHeader();
    return Report(frame);
}

bool FrameDecoder::CancelByte(std::uint8_t c) {
    if (c != static_cast<std::uint8_t>(CAN)) {
        cans_ = 0;
        return false;
    }
    if (++cans_ < 5)
        return false;
    cans_ = 0;
    ExpectHeader();
    return Report(Frame(Frame::Cancel));
}

} // namespace comms::zmodem
