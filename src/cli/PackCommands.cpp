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
    ForEachChunk(stdin, [&writer](const void* data, std::size_t size) {
        writer.Write(data, static_cast<std::int64_t>(size));
    });
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
