// The telnet protocol of a network line: option negotiation, IAC escaping both ways, and the
// binary mode that lets ZModem's 8-bit data through untouched.
//
// We offer binary mode and suppress-go-ahead both ways, accept the server's echo, answer the
// terminal type ("ANSI") and window size (80 × 24) questions, and refuse every other option.
// An option is only answered when its state changes, so two peers never loop. Subnegotiations
// longer than kMaxSubnegotiation are dropped; nothing received can make the codec hold more.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace comms {

class TelnetCodec {
public:
    static constexpr std::size_t kMaxSubnegotiation = 64;

    // The offers sent when the connection opens.
    std::string Greeting();
    // Received line bytes: the data they carry is appended to data, our answers to replies.
    void Decode(std::string_view received, std::string& data, std::string& replies);
    // Data to send: IAC doubled, and outside binary mode CR followed by NUL.
    std::string Encode(std::string_view data) const;

    bool BinaryReceive() const { return him_[kBinary]; }
    bool BinarySend() const { return us_[kBinary]; }

private:
    enum Option : std::uint8_t {
        kBinary = 0,
        kEcho = 1,
        kSuppressGoAhead = 3,
        kTerminalType = 24,
        kWindowSize = 31
    };
    enum class State { Data, CarriageReturn, Iac, Will, Wont, Do, Dont, Sub, SubIac };

    void Negotiate(State verb, std::uint8_t option, std::string& replies);
    void Subnegotiation(std::string& replies);
    static std::string Command(std::uint8_t verb, std::uint8_t option);

    State state_ = State::Data;
    std::array<bool, 256> us_{};  // options enabled on our side
    std::array<bool, 256> him_{}; // options enabled on the server's side
    std::string sub_;
    bool subTooLong_ = false;
};

} // namespace comms
