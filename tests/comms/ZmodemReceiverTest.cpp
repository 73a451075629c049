// The receiver engine against the real sz of lrzsz, over a socket pair, without Qt.
#include "comms/ZmodemReceiver.h"

#include "comms/SzPeer.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace comms;
using comms_test::LrzszPeer;
using comms_test::RandomBytes;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

class Receiving : public ZmodemHost {
public:
    Receiving(int fd, DownloadFolder& folder, ZmodemOptions options = {})
        : fd_(fd), receiver_(*this, folder, options) {}

    // Runs the transfer to its end, aborting it once abortAfterBytes (if not negative) of a file
    // have arrived; a silent second is one retry interval. Fails the test when the transfer has
    // not ended within a minute.
    void Run(std::int64_t abortAfterBytes = -1) {
        receiver_.Start();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (receiver_.Running()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "transfer hangs";
            pollfd wanted{fd_, POLLIN, 0};
            if (poll(&wanted, 1, 1000) == 0) {
                receiver_.Timeout();
                continue;
            }
            char buffer[16384];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                receiver_.LineLost();
                continue;
            }
            receiver_.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
            if (abortAfterBytes >= 0 && progress_ >= abortAfterBytes)
                receiver_.Abort("Abgebrochen");
        }
    }

    std::vector<ReceivedFile> files;
    bool completed = false;
    std::string outcome;

private:
    void SendToLine(std::string_view bytes) override {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void FileBegins(const std::string&, std::int64_t, std::int64_t) override {}
    void FileProgress(std::int64_t bytes) override { progress_ = bytes; }
    void FileEnds(const ReceivedFile& file) override { files.push_back(file); }
    void TransferError(const std::string&) override {}
    void Finished(bool ok, const std::string& message) override {
        completed = ok;
        outcome = message;
    }

    int fd_;
    std::int64_t progress_ = 0;
    ZmodemReceiver receiver_;
};

// What a run of the receiver left behind.
struct Outcome {
    bool completed = false;
    std::string message;
    std::vector<ReceivedFile> files;
    int szStatus = -1; // sz's exit status after a completed transfer
};

struct Batch {
    TempDir source;
    TempDir destination;

    // sz, run in a folder of the source, sends what args name to the receiver writing the
    // files that match mask into the destination.
    Outcome Receive(std::vector<std::string> args, const std::string& mask = "*.*",
                    bool recover = true, ZmodemOptions zmodem = {},
                    std::int64_t abortAfterBytes = -1, const std::string& subfolder = "") const {
        args.insert(args.begin(), "-q");
        LrzszPeer sz("sz", args, (source.Path() / subfolder).string());
        DownloadFolder folder(destination.Path().string(), mask, recover);
        Receiving receiving(sz.Fd(), folder, zmodem);
        receiving.Run(abortAfterBytes);
        return {receiving.completed, receiving.outcome, receiving.files,
                receiving.completed ? sz.Wait() : -1};
    }
};

std::time_t ModifiedTime(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mtime;
}

} // namespace

// The batch itself is checked end to end through the modem emulator (TransferTest); here the
// engine's own duty: the sender's modification date.
TEST(ZmodemReceiver, AReceivedFileKeepsTheSendersDate) {
    Batch batch;
    batch.source.Write("text.txt", "Zeile \x84\x94\x81\r\n");
    std::filesystem::last_write_time(batch.source.Path() / "text.txt",
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(24 * 400));
    const Outcome outcome = batch.Receive({"text.txt"});
    EXPECT_TRUE(outcome.completed) << outcome.message;
    EXPECT_EQ(ModifiedTime(batch.destination.File("text.txt")),
              ModifiedTime(batch.source.File("text.txt")));
    EXPECT_EQ(outcome.szStatus, 0);
}

TEST(ZmodemReceiver, CrcSixteenFramesWhenAskedFor) {
    Batch batch;
    const std::string data = RandomBytes(70'000, 2);
    batch.source.Write("a.bin", data);
    ZmodemOptions crc16;
    crc16.crc32 = false;
    const Outcome outcome = batch.Receive({"a.bin"}, "*.*", true, crc16);
    EXPECT_TRUE(outcome.completed) << outcome.message;
    EXPECT_EQ(ReadFileBytes(batch.destination.File("a.bin")), data);
}

TEST(ZmodemReceiver, FilesOutsideTheMaskAreSkipped) {
    Batch batch;
    batch.source.Write("wanted.txt", "ja\r\n");
    batch.source.Write("other.zip", "PK");
    const Outcome outcome = batch.Receive({"wanted.txt", "other.zip"}, "*.txt");
    EXPECT_TRUE(outcome.completed) << outcome.message;
    ASSERT_EQ(outcome.files.size(), 2u);
    EXPECT_EQ(outcome.files[0].status, ReceivedFile::Ok);
    EXPECT_EQ(outcome.files[1].status, ReceivedFile::Skipped);
    EXPECT_EQ(ReadFileBytes(batch.destination.File("wanted.txt")), "ja\r\n");
    EXPECT_FALSE(std::filesystem::exists(batch.destination.Path() / "other.zip"));
}

TEST(ZmodemReceiver, WithoutRecoveryAFailedFileIsRemovedAndAReplacedOneKept) {
    Batch batch;
    batch.source.Write("new.bin", RandomBytes(1'000'000, 4));
    batch.destination.Write("new.bin", "the old file");
    batch.source.Write("fresh.bin", RandomBytes(1'000'000, 5));
    batch.Receive({"new.bin", "fresh.bin"}, "*.*", false, {}, 200'000);
    EXPECT_EQ(ReadFileBytes(batch.destination.File("new.bin")), "the old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(batch.destination.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left";
}

TEST(ZmodemReceiver, HostileNamesStayInsideTheDestination) {
    Batch batch;
    batch.source.Write("evil", "boese");
    const TempDir outside;
    std::filesystem::create_symlink(outside.File("target"), batch.destination.Path() / "link");
    // sz reads the names relative to the folder it runs in.
    batch.source.Write("deep/er/link", "nicht durch den Link");
    batch.source.Write("deep/er/bell\x07name", "mit Steuerzeichen");
    const Outcome outcome =
        batch.Receive({"-f", "../../evil", "link", "bell\x07name"}, "*.*", true, {}, -1, "deep/er");
    EXPECT_TRUE(outcome.completed) << outcome.message;
    EXPECT_EQ(ReadFileBytes(batch.destination.File("evil")), "boese");
    EXPECT_FALSE(std::filesystem::exists(outside.File("target")))
        << "nothing written through the link";
    EXPECT_EQ(ReadFileBytes(batch.destination.File("link")), "nicht durch den Link");
    EXPECT_TRUE(std::filesystem::is_regular_file(
        std::filesystem::symlink_status(batch.destination.Path() / "link")));
    EXPECT_EQ(ReadFileBytes(batch.destination.File("Datei1")), "mit Steuerzeichen");
}

TEST(ZmodemReceiver, ASenderThatStopsAnsweringEndsTheTransfer) {
    const TempDir destination;
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    DownloadFolder folder(destination.Path().string(), "*.*", true);
    ZmodemOptions options;
    options.maxTimeouts = 2;
    Receiving receiving(fds[0], folder, options);
    receiving.Run();
    EXPECT_FALSE(receiving.completed);
    EXPECT_NE(receiving.outcome.find("antwortet nicht"), std::string::npos);
    close(fds[0]);
    close(fds[1]);
}

TEST(ZmodemReceiver, AFullDiskCancelsWithAClearMessage) {
    Batch batch;
    batch.source.Write("large.bin", RandomBytes(600'000, 6));
    const int status = testing_support::RunInChild([&] {
        testing_support::LimitFileSize(100'000);
        const Outcome outcome = batch.Receive({"large.bin"});
        return !outcome.completed && outcome.message == "large.bin: Der Datentr\xE4ger ist voll" &&
                       outcome.files.size() == 1 && outcome.files[0].status == ReceivedFile::Failed
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
}
