#include "cli/ConsoleStreams.h"

#include "rtl/Exceptions.h"

namespace cli {

std::int32_t TConsoleOutputStream::Read(void*, std::int32_t) {
    return 0;
}

std::int32_t TConsoleOutputStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0)
        return 0;
    const auto n = std::fwrite(buffer, 1, static_cast<std::size_t>(count), file_);
    written_ += static_cast<std::int64_t>(n);
    return static_cast<std::int32_t>(n);
}

std::int64_t TConsoleOutputStream::Seek(std::int64_t, rtl::SeekOrigin) {
    return written_;
}

void TConsoleOutputStream::Finish() {
    if (std::fflush(file_) != 0 || std::ferror(file_))
        throw rtl::EWriteError();
}

void ForEachChunk(std::FILE* file,
                  const std::function<void(const void* data, std::size_t size)>& take) {
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        take(chunk, n);
    if (std::ferror(file))
        throw rtl::EReadError();
}

void ReadWholeFile(std::FILE* file, rtl::TMemoryStream& into) {
    into.Clear();
    ForEachChunk(file, [&into](const void* data, std::size_t size) {
        into.Write(data, static_cast<std::int32_t>(size));
    });
    into.SetPosition(0);
}

} // namespace cli
