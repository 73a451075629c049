// Fuzz target for the settings hive's text. The first input byte chooses a value type, the next
// eight bytes are that value's data, the rest is the hive file. Checks: a hive read and written
// unchanged gives back its text byte for byte, and a value written into it (with a key created
// for it) reads back the same after the text is parsed again.
#include "platform/RegistryHive.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kKey = "SOFTWARE\\Fuzz\\Key";
constexpr std::size_t kDataSize = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 + kDataSize)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view text = input.substr(1 + kDataSize);

    platform::RegistryHive hive = platform::RegistryHive::Parse(text, kRoot);
    Require(hive.Format() == text);

    const platform::RegistryValue value{"Wert", static_cast<std::uint32_t>(data[0] % 16),
                                        std::string(input.substr(1, kDataSize))};
    hive.CreateKey(kKey);
    hive.SetValue(kKey, value);
    const platform::RegistryHive reread = platform::RegistryHive::Parse(hive.Format(), kRoot);
    const platform::RegistryValue* found = reread.FindValue(kKey, "Wert");
    Require(found && found->type == value.type && found->data == value.data);
    return 0;
}
