// Fuzz target for the ZModem receiver and its frame decoder, as a sender's line would drive them.
// The first input byte chooses CRC-16 or CRC-32 and the size of the pieces the line is cut
// into; a piece that is a single NUL byte stands for a silent retry interval. Files land in a
// temporary folder of the process. Checks: no access outside any buffer (the sanitizers), every
// file is reported under a plain name, and the receiver ends, once, when the line is lost.
#include "comms/DownloadFolder.h"
#include "comms/ZmodemReceiver.h"
#include "comms/fuzz/Require.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using comms_fuzz::Require;

struct Host : comms::ZmodemHost {
    void SendToLine(std::string_view bytes) override { sent += bytes.size(); }
    void FileBegins(const std::string&, std::int64_t, std::int64_t) override {}
    void FileProgress(std::int64_t) override {}
    void FileEnds(const comms::ReceivedFile& file) override {
        Require(!file.name.empty() && file.name.find('/') == std::string::npos);
    }
    void TransferError(const std::string&) override {}
    void Finished(bool, const std::string&) override { ++finished; }
    std::size_t sent = 0;
    int finished = 0;
};

// Lives until the process ends (never destroyed), so the exit handler can still remove it.
const std::string& Folder() {
    static const std::string& folder = *[] {
        auto* path = new std::string(
            (std::filesystem::temp_directory_path() / ("zmodem-fuzz-" + std::to_string(getpid())))
                .string());
        std::filesystem::create_directories(*path);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    comms::ZmodemOptions options;
    options.crc32 = (data[0] & 1) != 0;
    const std::size_t piece = (data[0] >> 1) + 1;
    comms::DownloadFolder folder(Folder(), "*.*", (data[0] & 0x80) != 0);
    Host host;
    comms::ZmodemReceiver receiver(host, folder, options);
    receiver.Start();
    const std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::size_t at = 0; at < line.size() && receiver.Running(); at += piece) {
        const std::string_view bytes = line.substr(at, piece);
        if (bytes.size() == 1 && bytes[0] == '\0')
            receiver.Timeout();
        else
            Require(receiver.Feed(bytes) <= bytes.size());
    }
    receiver.LineLost();
    Require(!receiver.Running());
    Require(host.finished == 1);
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directories(Folder());
    return 0;
}
