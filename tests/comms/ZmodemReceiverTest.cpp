// The receiver engine against the real sz of lrzsz, over a socket pair, without Qt.
#include "comms/ZmodemReceiver.h"

#include "comms/SzPeer.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <random>
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

// Corrupts the line from the sender: every byte is flipped with the chance 1/flipEvery and
// dropped with the chance 1/dropEvery (0: never).
struct LineNoise {
    unsigned seed = 0;
    unsigned flipEvery = 0;
    unsigned dropEvery = 0;
};

class Receiving : public ZmodemHost {
public:
    Receiving(int fd, DownloadFolder& folder, ZmodemOptions options = {})
        : fd_(fd), receiver_(*this, folder, options) {}

    // Runs the transfer to its end; a silent second is one retry interval. Fails the test when
    // the transfer has not ended within a minute.
    void Run(LineNoise noise = {}, std::int64_t abortAfterBytes = -1) {
        std::mt19937 random(noise.seed);
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
            std::string bytes;
            for (ssize_t i = 0; i < n; ++i) {
                if (noise.dropEvery && random() % noise.dropEvery == 0)
                    continue;
                char c = buffer[i];
                if (noise.flipEvery && random() % noise.flipEvery == 0)
                    c = static_cast<char>(c ^ (1 << (random() % 8)));
                bytes += c;
            }
            receiver_.Feed(bytes);
            if (abortAfterBytes >= 0 && progress_ >= abortAfterBytes)
                receiver_.Abort("Abgebrochen");
        }
    }

    std::vector<ReceivedFile> files;
    std::vector<std::int64_t> offsets;
    bool completed = false;
    std::string outcome;
    int errors = 0;

private:
    void SendToLine(std::string_view bytes) override {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void FileBegins(const std::string&, std::int64_t, std::int64_t offset) override {
        offsets.push_back(offset);
    }
    void FileProgress(std::int64_t bytes) override { progress_ = bytes; }
    void FileEnds(const ReceivedFile& file) override { files.push_back(file); }
    void TransferError(const std::string&) override { ++errors; }
    void Finished(bool ok, const std::string& message) override {
        completed = ok;
        outcome = message;
    }

    int fd_;
    std::int64_t progress_ = 0;
    ZmodemReceiver receiver_;
};

struct Batch {
    TempDir source;
    TempDir destination;
};

std::time_t ModifiedTime(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mtime;
}

} // namespace

TEST(ZmodemReceiver, ReceivesABatchByteIdenticalWithDates) {
    Batch batch;
    const std::string binary = RandomBytes(300'000, 1);
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "Zeile " + std::to_string(i) + " \x84\x94\x81\r\n";
    batch.source.Write("binary.bin", binary);
    batch.source.Write("text.txt", text);
    batch.source.Write("empty", "");
    std::filesystem::last_write_time(batch.source.Path() / "text.txt",
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(24 * 400));
    LrzszPeer sz("sz", {"-q", "binary.bin", "text.txt", "empty"}, batch.source.Path().string());
    DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
    Receiving receiving(sz.Fd(), folder);
    receiving.Run();

    EXPECT_TRUE(receiving.completed) << receiving.outcome;
    ASSERT_EQ(receiving.files.size(), 3u);
    for (const ReceivedFile& file : receiving.files)
        EXPECT_EQ(file.status, ReceivedFile::Ok) << file.name << ": " << file.message;
    EXPECT_EQ(receiving.files[0].size, 300'000);
    EXPECT_EQ(ReadFileBytes(batch.destination.File("binary.bin")), binary);
    EXPECT_EQ(ReadFileBytes(batch.destination.File("text.txt")), text);
    EXPECT_TRUE(std::filesystem::is_regular_file(batch.destination.Path() / "empty"));
    EXPECT_EQ(ReadFileBytes(batch.destination.File("empty")), "");
    EXPECT_EQ(ModifiedTime(batch.destination.File("text.txt")),
              ModifiedTime(batch.source.File("text.txt")));
    EXPECT_EQ(sz.Wait(), 0);
}

TEST(ZmodemReceiver, CrcSixteenFramesWhenAskedFor) {
    Batch batch;
    const std::string data = RandomBytes(70'000, 2);
    batch.source.Write("a.bin", data);
    LrzszPeer sz("sz", {"-q", "a.bin"}, batch.source.Path().string());
    DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
    ZmodemOptions options;
    options.crc32 = false;
    Receiving receiving(sz.Fd(), folder, options);
    receiving.Run();
    EXPECT_TRUE(receiving.completed) << receiving.outcome;
    EXPECT_EQ(ReadFileBytes(batch.destination.File("a.bin")), data);
}

TEST(ZmodemReceiver, SkipsAnIdenticalFileAndFilesOutsideTheMask) {
    Batch batch;
    batch.source.Write("same.txt", "gleich\r\n");
    batch.source.Write("other.zip", "PK");
    {
        LrzszPeer sz("sz", {"-q", "same.txt"}, batch.source.Path().string());
        DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
        Receiving first(sz.Fd(), folder);
        first.Run();
        ASSERT_TRUE(first.completed) << first.outcome;
    }
    LrzszPeer sz("sz", {"-q", "same.txt", "other.zip"}, batch.source.Path().string());
    DownloadFolder folder(batch.destination.Path().string(), "*.txt", true);
    Receiving second(sz.Fd(), folder);
    second.Run();
    EXPECT_TRUE(second.completed) << second.outcome;
    ASSERT_EQ(second.files.size(), 2u);
    EXPECT_EQ(second.files[0].status, ReceivedFile::Skipped);
    EXPECT_EQ(second.files[0].size, 8);
    EXPECT_EQ(second.files[1].status, ReceivedFile::Skipped);
    EXPECT_FALSE(std::filesystem::exists(batch.destination.Path() / "other.zip"));
}

TEST(ZmodemReceiver, AnInterruptedFileIsResumedAtItsLength) {
    Batch batch;
    const std::string data = RandomBytes(2'000'000, 3);
    batch.source.Write("big.bin", data);
    {
        LrzszPeer sz("sz", {"-q", "big.bin"}, batch.source.Path().string());
        DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
        Receiving first(sz.Fd(), folder);
        first.Run({}, 300'000);
        EXPECT_FALSE(first.completed);
        EXPECT_EQ(first.outcome, "Abgebrochen");
        ASSERT_EQ(first.files.size(), 1u);
        EXPECT_EQ(first.files[0].status, ReceivedFile::Failed);
    }
    const auto kept = std::filesystem::file_size(batch.destination.Path() / "big.bin");
    ASSERT_GE(kept, 300'000u) << "the partial file stays for recovery";
    ASSERT_LT(kept, data.size());

    LrzszPeer sz("sz", {"-q", "-r", "big.bin"}, batch.source.Path().string());
    DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
    Receiving second(sz.Fd(), folder);
    second.Run();
    EXPECT_TRUE(second.completed) << second.outcome;
    ASSERT_EQ(second.offsets.size(), 1u);
    EXPECT_EQ(second.offsets[0], static_cast<std::int64_t>(kept));
    EXPECT_EQ(ReadFileBytes(batch.destination.File("big.bin")), data);
}

TEST(ZmodemReceiver, WithoutRecoveryAFailedFileIsRemovedAndAReplacedOneKept) {
    Batch batch;
    batch.source.Write("new.bin", RandomBytes(1'000'000, 4));
    batch.destination.Write("new.bin", "the old file");
    batch.source.Write("fresh.bin", RandomBytes(1'000'000, 5));
    LrzszPeer sz("sz", {"-q", "new.bin", "fresh.bin"}, batch.source.Path().string());
    DownloadFolder folder(batch.destination.Path().string(), "*.*", false);
    Receiving receiving(sz.Fd(), folder);
    receiving.Run({}, 200'000);
    EXPECT_EQ(ReadFileBytes(batch.destination.File("new.bin")), "the old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(batch.destination.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left";
}

TEST(ZmodemReceiver, HostileNamesStayInsideTheDestination) {
    Batch batch;
    std::filesystem::create_directories(batch.source.Path() / "deep" / "er");
    batch.source.Write("evil", "boese");
    const TempDir outside;
    std::filesystem::create_symlink(outside.File("target"), batch.destination.Path() / "link");
    batch.source.Write("link", "nicht durch den Link");
    LrzszPeer sz("sz", {"-q", "-f", "../../evil", "link", "bell\x07name"},
                 (batch.source.Path() / "deep" / "er").string());
    // sz reads "link" relative to its folder: give it one there.
    batch.source.Write("deep/er/link", "nicht durch den Link");
    batch.source.Write("deep/er/bell\x07name", "mit Steuerzeichen");
    DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
    Receiving receiving(sz.Fd(), folder);
    receiving.Run();
    EXPECT_TRUE(receiving.completed) << receiving.outcome;
    EXPECT_EQ(ReadFileBytes(batch.destination.File("evil")), "boese");
    EXPECT_FALSE(std::filesystem::exists(outside.File("target")))
        << "nothing written through the link";
    EXPECT_EQ(ReadFileBytes(batch.destination.File("link")), "nicht durch den Link");
    EXPECT_TRUE(std::filesystem::is_regular_file(
        std::filesystem::symlink_status(batch.destination.Path() / "link")));
    EXPECT_EQ(ReadFileBytes(batch.destination.File("Datei1")), "mit Steuerzeichen");
}

TEST(ZmodemReceiver, LineNoiseGivesACorrectFileOrAClearFailure) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Batch batch;
        const std::string data = RandomBytes(400'000, seed);
        batch.source.Write("noisy.bin", data);
        LrzszPeer sz("sz", {"-q", "noisy.bin"}, batch.source.Path().string());
        DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
        Receiving receiving(sz.Fd(), folder);
        receiving.Run({seed, 20000, 30000});
        EXPECT_GT(receiving.errors, 0) << "the noise was noticed";
        if (receiving.completed) {
            EXPECT_EQ(ReadFileBytes(batch.destination.File("noisy.bin")), data);
        } else {
            EXPECT_FALSE(receiving.outcome.empty());
            ASSERT_FALSE(receiving.files.empty());
            EXPECT_EQ(receiving.files.back().status, ReceivedFile::Failed);
        }
    }
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
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100'000, 100'000};
        setrlimit(RLIMIT_FSIZE, &limit);
        LrzszPeer sz("sz", {"-q", "large.bin"}, batch.source.Path().string());
        DownloadFolder folder(batch.destination.Path().string(), "*.*", true);
        Receiving receiving(sz.Fd(), folder);
        receiving.Run();
        const bool clear =
            !receiving.completed && receiving.outcome == "large.bin: Der Datentr\xE4ger ist voll" &&
            receiving.files.size() == 1 && receiving.files[0].status == ReceivedFile::Failed;
        _exit(clear ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
