#include "comms/Telnet.h"

namespace comms {

namespace {

constexpr std::uint8_t IAC = 255;
constexpr std::uint8_t DONT = 254;
constexpr std::uint8_t DO = 253;
constexpr std::uint8_t WONT = 252;
constexpr std::uint8_t WILL = 251;
constexpr std::uint8_t SB = 250;
constexpr std::uint8_t SE = 240;
constexpr std::uint8_t kSend = 1;
constexpr std::uint8_t kIs = 0;

} // namespace

std::string TelnetCodec::Command(std::uint8_t verb, std::uint8_t option) {
    return {static_cast<char>(IAC), static_cast<char>(verb), static_cast<char>(option)};
}

std::string TelnetCodec::Greeting() {
    std::string offers;
    for (std::uint8_t option : {kBinary, kSuppressGoAhead}) {
        offers += Command(DO, option) + Command(WILL, option);
        us_[option] = true;
        him_[option] = true;
    }
    return offers;
}

void TelnetCodec::Decode(std::string_view received, std::string& data, std::string& replies) {
    for (char ch : received) {
        const auto c = static_cast<std::uint8_t>(ch);
        switch (state_) {
        case State::CarriageReturn:
            state_ = State::Data;
            if (c == 0)
                break; // CR NUL is a bare CR
            [[fallthrough]];
        case State::Data:
            if (c == IAC) {
                state_ = State::Iac;
            } else {
                data += ch;
                if (c == '\r' && !BinaryReceive())
                    state_ = State::CarriageReturn;
            }
            break;
        case State::Iac:
            state_ = State::Data;
            if (c == IAC)
                data += ch;
            else if (c == WILL)
                state_ = State::Will;
            else if (c == WONT)
                state_ = State::Wont;
            else if (c == DO)
                state_ = State::Do;
            else if (c == DONT)
                state_ = State::Dont;
            else if (c == SB)
                state_ = State::Sub, sub_.clear(), subTooLong_ = false;
            break;
        case State::Will:
        case State::Wont:
        case State::Do:
        case State::Dont:
            Negotiate(state_, c, replies);
            state_ = State::Data;
            break;
        case State::Sub:
            if (c == IAC)
                state_ = State::SubIac;
            else if (sub_.size() < kMaxSubnegotiation)
                sub_ += ch;
            else
                subTooLong_ = true;
            break;
        case State::SubIac:
            if (c == SE) {
                if (!subTooLong_)
                    Subnegotiation(replies);
                state_ = State::Data;
            } else {
                if (sub_.size() < kMaxSubnegotiation)
                    sub_ += ch; // IAC IAC inside, or a stray IAC: keep the byte
                else
                    subTooLong_ = true;
                state_ = State::Sub;
            }
            break;
        }
    }
}

void TelnetCodec::Negotiate(State verb, std::uint8_t option, std::string& replies) {
    const bool request = verb == State::Will || verb == State::Do;
    const bool aboutUs = verb == State::Do || verb == State::Dont;
    auto& enabled = aboutUs ? us_ : him_;
    const bool wanted = aboutUs
                            ? (option == kBinary || option == kSuppressGoAhead ||
                               option == kTerminalType || option == kWindowSize)
                            : (option == kBinary || option == kSuppressGoAhead || option == kEcho);
    const bool enable = request && wanted;
    if (request && enabled[option] == enable && enable)
        return; // already so: no answer, or peers loop
    if (!request && !enabled[option])
        return;
    enabled[option] = enable;
    replies += Command(aboutUs ? (enable ? WILL : WONT) : (enable ? DO : DONT), option);
    if (aboutUs && enable && option == kWindowSize)
        replies += std::string{static_cast<char>(IAC),
                               static_cast<char>(SB),
                               static_cast<char>(kWindowSize),
                               0,
                               80,
                               0,
                               24,
                               static_cast<char>(IAC),
                               static_cast<char>(SE)};
}

void TelnetCodec::Subnegotiation(std::string& replies) {
    if (sub_.size() >= 2 && static_cast<std::uint8_t>(sub_[0]) == kTerminalType &&
        static_cast<std::uint8_t>(sub_[1]) == kSend && us_[kTerminalType])
        replies += std::string{static_cast<char>(IAC), static_cast<char>(SB),
                               static_cast<char>(kTerminalType), static_cast<char>(kIs)} +
                   "ANSI" + std::string{static_cast<char>(IAC), static_cast<char>(SE)};
}

std::string TelnetCodec::Encode(std::string_view data) const {
    std::string out;
    out.reserve(data.size() + data.size() / 64 + 4);
    for (char ch : data) {
        out += ch;
        if (static_cast<std::uint8_t>(ch) == IAC)
            out += ch;
        else if (ch == '\r' && !BinarySend())
            out += '\0';
    }
    return out;
}

} // namespace comms
