#include "cli/PackCommands.h"

#include "catalog/PackedStream.h"
#include "cli/ConsoleStreams.h"
#include "rtl/Exceptions.h"
#include "rtl/Filer.h"

#include <cstdio>
#include <vector>

namespace cli {

int RunPack(Arguments arguments) {
    const int bufferSize = ParseBufferOption(arguments);
    TConsoleOutputStream output(stdout);
    catalog::TKVPacker packer(output);
    rtl::TWriter writer(packer, bufferSize);
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0)
        writer.Write(chunk, static_cast<std::int64_t>(n));
    if (std::ferror(stdin))
        throw rtl::EReadError();
    writer.FlushBuffer();
    output.Finish();
    return 0;
}

// Each block must decode to at least one byte and at most one buffer, as a record reader of the
// same buffer size demands; anything else is "Stream read error".
int RunUnpack(Arguments arguments) {
    const int bufferSize = ParseBufferOption(arguments);
    rtl::TMemoryStream input;
    ReadWholeFile(stdin, input);
    catalog::TKVPacker packer(input);
    TConsoleOutputStream output(stdout);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bufferSize));
    while (input.Position() < input.Size()) {
        const std::int32_t n = packer.Read(buffer.data(), bufferSize);
        if (n <= 0)
            throw rtl::EReadError();
        output.WriteBuffer(buffer.data(), n);
    }
    output.Finish();
    return 0;
}

} // namespace cli
