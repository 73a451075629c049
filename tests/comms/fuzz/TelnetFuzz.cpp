// Fuzz target for the telnet codec: received bytes in pieces cut where the input's first byte
// says. Checks: the data never outgrows what came in, answers stay small, and in binary mode
// whatever we encode decodes back to itself.
#include "comms/Telnet.h"
#include "comms/fuzz/Require.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using comms_fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::size_t piece = data[0] + 1;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    comms::TelnetCodec codec;
    codec.Greeting();
    std::string received;
    std::string replies;
    for (std::size_t at = 0; at < input.size(); at += piece)
        codec.Decode(input.substr(at, piece), received, replies);
    Require(received.size() <= input.size());
    Require(replies.size() <= 4 * input.size() + 16);

    if (codec.BinaryReceive() && codec.BinarySend()) {
        comms::TelnetCodec peer;
        peer.Greeting();
        std::string back;
        std::string peerReplies;
        peer.Decode(codec.Encode(input), back, peerReplies);
        Require(back == input);
    }
    return 0;
}
