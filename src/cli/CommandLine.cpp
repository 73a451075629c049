#include "cli/CommandLine.h"

#include "catalog/Records.h"

#include <charconv>

namespace cli {
namespace {

// pack and unpack work like a record writer and reader by default.
constexpr int kDefaultBufferSize = catalog::kRecordBufferSize;
// Bounds the buffers a caller can make the tool allocate.
constexpr int kMaxBufferSize = 16 * 1024 * 1024;

} // namespace

long long ParseNumber(const std::string& text, long long minimum, long long maximum,
                      std::string_view what) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [next, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || next != end || value < minimum || value > maximum)
        throw UsageError(std::string(what) + " must be a number from " + std::to_string(minimum) +
                         " to " + std::to_string(maximum) + ": '" + text + "'");
    return value;
}

int ParseBufferOption(Arguments arguments) {
    if (arguments.empty())
        return kDefaultBufferSize;
    if (arguments.size() != 2 || arguments[0] != "--buffer")
        throw UsageError("expected nothing or --buffer N");
    return static_cast<int>(ParseNumber(arguments[1], 1, kMaxBufferSize, "--buffer"));
}

} // namespace cli
