// Standard input and output as the runtime's streams, for the subcommands that filter bytes.
#pragma once

#include "rtl/Stream.h"

#include <cstddef>
#include <cstdio>
#include <functional>

namespace cli {

// Appends every Write to a C file (standard output); positions are the bytes written so far.
// Failed writes report fewer bytes, which the callers turn into "Stream write error".
class TConsoleOutputStream final : public rtl::TStream {
public:
    explicit TConsoleOutputStream(std::FILE* file) : file_(file) {}

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    // Only reports the position; the output cannot move.
    std::int64_t Seek(std::int64_t offset, rtl::SeekOrigin origin) override;

    // Flushes the file; "Stream write error" when anything failed to reach it.
    void Finish();

private:
    std::FILE* file_;
    std::int64_t written_ = 0;
};

// Hands each chunk of a C file (standard input) to take until the file ends; a failed read is
// "Stream read error".
void ForEachChunk(std::FILE* file,
                  const std::function<void(const void* data, std::size_t size)>& take);

// Reads the whole of a C file (standard input) into memory, positioned at its start. The packed
// stream needs to know where its input ends, which a pipe cannot tell without reading it.
void ReadWholeFile(std::FILE* file, rtl::TMemoryStream& into);

} // namespace cli
