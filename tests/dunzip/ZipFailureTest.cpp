// Damaged and hostile archives, and destinations that cannot take the files: each gives a clear
// message through the message callback, writes nothing outside the destination and leaves no
// partial file.
#include "dunzip/UnzipHarness.h"
#include "platform/ScopedConfigFolder.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/ZipFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::RawMember;
using testing_support::RawZip;
using testing_support::ReadFileBytes;
using testing_support::RunInChild;
using testing_support::TempDir;
using testing_support::WriteZip;
using unzip_testing::TreeOf;
using unzip_testing::UnzipRun;
namespace fs = std::filesystem;

namespace {

// A temporary folder with the archive in it and an empty destination "out".
class Workspace {
public:
    explicit Workspace(const std::string& archiveBytes) {
        dir_.Write("archive.zip", archiveBytes);
        fs::create_directory(Out());
    }
    Workspace() { fs::create_directory(Out()); }

    std::string Archive() const { return dir_.File("archive.zip"); }
    std::string Out() const { return dir_.File("out"); }
    const TempDir& Dir() const { return dir_; }
    UnzipRun Run() const { return UnzipRun(Archive(), Out()); }
    // Everything in the workspace outside "out" and the archive.
    std::vector<std::string> Outside() const {
        std::vector<std::string> outside;
        for (const std::string& entry : TreeOf(dir_.Path()))
            if (!entry.starts_with("out/") && entry != "out/" && entry != "archive.zip")
                outside.push_back(entry);
        return outside;
    }

private:
    TempDir dir_;
};

RawMember Stored(std::string name, std::string data) {
    RawMember member;
    member.name = std::move(name);
    member.data = std::move(data);
    return member;
}

} // namespace

TEST(ZipFailure, TruncatedArchiveAndBadCentralDirectoryStopTheRun) {
    const std::string whole = RawZip({Stored("A.TXT", "aaaa"), Stored("B.TXT", "bbbb")});
    std::string badDirectory = whole;
    badDirectory[testing_support::EndRecordOffset(whole) + 16] ^= 0x40; // directory offset
    for (const std::string& archive :
         {whole.substr(0, whole.size() / 2), whole.substr(0, whole.size() - 1), badDirectory,
          std::string("PK\x03\x04 not really", 15), std::string()}) {
        const Workspace space(archive);
        UnzipRun run = space.Run();
        EXPECT_EQ(run.Run(), DUNZIP_NO_ARCHIVE);
        ASSERT_EQ(run.stops.size(), 1u);
        EXPECT_EQ(run.stops[0].reason, DUNZIP_STOP_ARCHIVE);
        EXPECT_TRUE(run.stops[0].message.starts_with("Cannot read archive " + space.Archive()))
            << run.stops[0].message;
        EXPECT_TRUE(fs::is_empty(space.Out()));
    }
}

TEST(ZipFailure, MissingArchiveAndMissingDestinationAreNamed) {
    const Workspace space;
    UnzipRun missing = space.Run();
    EXPECT_EQ(missing.Run(), DUNZIP_NO_ARCHIVE);
    ASSERT_EQ(missing.stops.size(), 1u);
    EXPECT_EQ(missing.stops[0].message,
              "Cannot read archive " + space.Archive() + ": file not found.");

    WriteZip(space.Archive(), {{"A.TXT", "a"}});
    UnzipRun nowhere(space.Archive(), space.Dir().File("no/such/folder"));
    EXPECT_EQ(nowhere.Run(), DUNZIP_NO_DESTINATION);
    EXPECT_EQ(nowhere.Reasons(), std::vector<int>{DUNZIP_STOP_DESTINATION});
    EXPECT_FALSE(fs::exists(space.Dir().File("no")));
}

// A CD drive without its medium (its folder is missing) and a letter without any drive.
TEST(ZipFailure, DrivesWithoutAFolderAreNotFound) {
    const Workspace space;
    WriteZip(space.Archive(), {{"A.TXT", "a"}});
    const testing_support::ScopedConfigFolder config;
    config.Write("drives", "e: = " + space.Dir().File("no-medium") + "  cdrom  KSTRV02\n");
    UnzipRun noMedium("e:\\KOMP\\DEMO.ZIP", space.Out());
    EXPECT_EQ(noMedium.Run(), DUNZIP_NO_ARCHIVE);
    ASSERT_EQ(noMedium.stops.size(), 1u);
    EXPECT_EQ(noMedium.stops[0].message, "Cannot read archive e:\\KOMP\\DEMO.ZIP: file not found.");
    UnzipRun noDrive(space.Archive(), "q:\\ZIEL\\");
    EXPECT_EQ(noDrive.Run(), DUNZIP_NO_DESTINATION);
    ASSERT_EQ(noDrive.stops.size(), 1u);
    EXPECT_EQ(noDrive.stops[0].message, "Destination folder q:\\ZIEL\\ not found.");
    EXPECT_TRUE(fs::is_empty(space.Out()));
}

TEST(ZipFailure, CrcErrorsAndBrokenDataNeverLeaveAWrongFile) {
    RawMember wrongCrc = Stored("STORED.TXT", "stored data");
    wrongCrc.crc = 0x12345678;
    RawMember badDeflate = Stored("DEFLATED.TXT", std::string("\xFF\xFF\xFF\xFF garbage", 12));
    badDeflate.method = 8;
    badDeflate.uncompressedSize = 100;
    const Workspace space(RawZip({wrongCrc, badDeflate, Stored("GOOD.TXT", "good")}));
    space.Dir().Write("out/STORED.TXT", "old");
    UnzipRun run = space.Run();
    run.overwrite = true;
    EXPECT_EQ(run.Run(), DUNZIP_MEMBER_FAILED);
    EXPECT_EQ(run.Reasons(), (std::vector<int>{DUNZIP_STOP_CRC, DUNZIP_STOP_DAMAGED}));
    EXPECT_EQ(run.stops[0].message, "STORED.TXT: CRC error, not unzipped.");
    EXPECT_TRUE(run.stops[1].message.starts_with("DEFLATED.TXT: damaged data ("));
    EXPECT_EQ(TreeOf(space.Out()), (std::vector<std::string>{"GOOD.TXT", "STORED.TXT"}));
    EXPECT_EQ(ReadFileBytes(space.Out() + "/STORED.TXT"), "old");
    EXPECT_EQ(run.returnCount, 1);
}

TEST(ZipFailure, EncryptedAndImplodedMembersAreRefusedByName) {
    RawMember encrypted = Stored("SECRET.TXT", std::string(12, '\x5A') + "cipher");
    encrypted.flags = 0x0001;
    RawMember imploded = Stored("OLD.EXE", "\x0D\x02\x01\x12\x23\x14\x15\x36");
    imploded.method = 6;
    imploded.uncompressedSize = 500;
    RawMember deflate64 = Stored("BIG.DAT", "data");
    deflate64.method = 9;
    const Workspace space(RawZip({encrypted, imploded, deflate64, Stored("OK.TXT", "ok")}));
    UnzipRun run = space.Run();
    EXPECT_EQ(run.Run(), DUNZIP_MEMBER_FAILED);
    ASSERT_EQ(run.Reasons(),
              (std::vector<int>{DUNZIP_STOP_ENCRYPTED, DUNZIP_STOP_METHOD, DUNZIP_STOP_METHOD}));
    EXPECT_EQ(run.stops[0].message, "SECRET.TXT: encrypted, not unzipped.");
    EXPECT_EQ(run.stops[1].message,
              "OLD.EXE: compression method 6 is not supported, not unzipped.");
    EXPECT_EQ(run.stops[1].detail, 6);
    EXPECT_EQ(run.stops[2].detail, 9);
    EXPECT_EQ(TreeOf(space.Out()), std::vector<std::string>{"OK.TXT"});
}

TEST(ZipFailure, ZipSlipNamesAreRefusedAndTheRunGoesOn) {
    const std::vector<std::string> hostile = {
        "../EVIL1.TXT",
        "..\\EVIL2.TXT",
        "/tmp/EVIL3.TXT",
        "\\EVIL4.TXT",
        "c:\\EVIL5.TXT",
        "C:EVIL6.TXT",
        "SUB/../../EVIL7.TXT",
        "SUB\\..\\..\\EVIL8.TXT",
        "\\\\server\\share\\EVIL9.TXT",
        "./../EVIL10.TXT",
        "..",
    };
    std::vector<RawMember> members;
    for (const std::string& name : hostile)
        members.push_back(Stored(name, "evil"));
    members.push_back(Stored("SUB/./OK.TXT", "ok"));
    members.push_back(Stored("SUB\\INNER\\OK2.TXT", "ok2"));
    members.push_back(Stored("A..B/..C", "dots in names"));
    const Workspace space(RawZip(members));
    UnzipRun run = space.Run();
    EXPECT_EQ(run.Run(), DUNZIP_MEMBER_FAILED);
    ASSERT_EQ(run.stops.size(), hostile.size());
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        EXPECT_EQ(run.stops[i].reason, DUNZIP_STOP_UNSAFE_PATH) << hostile[i];
        EXPECT_TRUE(run.stops[i].message.starts_with(hostile[i] + ": unsafe path")) << hostile[i];
    }
    EXPECT_EQ(TreeOf(space.Out()),
              (std::vector<std::string>{"A..B/", "A..B/..C", "SUB/", "SUB/INNER/",
                                        "SUB/INNER/OK2.TXT", "SUB/OK.TXT"}));
    EXPECT_TRUE(space.Outside().empty());
    EXPECT_FALSE(fs::exists("/tmp/EVIL3.TXT"));
}

TEST(ZipFailure, LinkMembersAreNotCreatedAndNothingIsWrittenThroughALink) {
    const Workspace space;
    const std::string outside = space.Dir().File("outside");
    fs::create_directory(outside);
    RawMember link = Stored("LINK", outside);
    link.system = 3;
    link.externalAttributes = 0120777U << 16;
    // The destination already holds links: to a folder outside, and as a file's name.
    fs::create_directory_symlink(outside, space.Out() + "/PLANTED");
    fs::create_symlink(outside + "/target.txt", space.Out() + "/FILE.TXT");
    space.Dir().Write("archive.zip", RawZip({link, Stored("LINK/THROUGH.TXT", "x"),
                                             Stored("PLANTED/EVIL.TXT", "evil"),
                                             Stored("PLANTED/", ""), Stored("FILE.TXT", "evil")}));
    UnzipRun run = space.Run();
    run.overwrite = true;
    EXPECT_EQ(run.Run(), DUNZIP_MEMBER_FAILED);
    EXPECT_EQ(run.Reasons(),
              (std::vector<int>{DUNZIP_STOP_LINK_MEMBER, DUNZIP_STOP_THROUGH_LINK,
                                DUNZIP_STOP_THROUGH_LINK, DUNZIP_STOP_THROUGH_LINK}));
    EXPECT_TRUE(fs::is_empty(outside));
    // The refused link member left a plain folder for the member after it.
    EXPECT_EQ(TreeOf(space.Out()),
              (std::vector<std::string>{"FILE.TXT -> " + outside + "/target.txt", "LINK/",
                                        "LINK/THROUGH.TXT", "PLANTED -> " + outside}));
}

TEST(ZipFailure, TenThousandEmptyMembersAllArrive) {
    std::vector<RawMember> members;
    for (int i = 0; i < 10000; ++i)
        members.push_back(Stored("D" + std::to_string(i % 10) + "/F" + std::to_string(i), ""));
    const Workspace space(RawZip(members));
    UnzipRun run = space.Run();
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    EXPECT_EQ(run.returnCount, 10000);
    EXPECT_EQ(run.minor.size(), 20000u);
    EXPECT_EQ(run.major.size(), 10000u);
    EXPECT_EQ(run.major.back(), 100);
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(space.Out()))
        files += entry.is_regular_file() && entry.file_size() == 0 ? 1 : 0;
    EXPECT_EQ(files, 10000u);
}

TEST(ZipFailure, MemberClaimingFourGigabytesIsDamagedWithoutAPartialFile) {
    RawMember zip64 = Stored("HUGE.BIN", "only a few bytes");
    zip64.uncompressedSize = std::uint64_t{4} << 30;
    RawMember almost = Stored("ALMOST.BIN", "a few bytes more");
    almost.uncompressedSize = 0xFFFFFFFE;
    RawMember deflated = Stored("DEFLATED.BIN", std::string("\x03\x00", 2)); // empty stream
    deflated.method = 8;
    deflated.uncompressedSize = 0xFFFFFFFE;
    deflated.crc = 0; // right for what the stream really holds: nothing
    const Workspace space(RawZip({zip64, almost, deflated}));
    UnzipRun run = space.Run();
    EXPECT_EQ(run.Run(), DUNZIP_MEMBER_FAILED);
    ASSERT_EQ(run.Reasons(),
              (std::vector<int>{DUNZIP_STOP_DAMAGED, DUNZIP_STOP_DAMAGED, DUNZIP_STOP_DAMAGED}));
    // A stored member's sizes must agree; a deflated one that ends early falls short.
    EXPECT_EQ(run.stops[0].message,
              "HUGE.BIN: damaged data (inconsistent directory), not unzipped.");
    EXPECT_EQ(run.stops[2].message, "DEFLATED.BIN: damaged data (size mismatch), not unzipped.");
    EXPECT_TRUE(fs::is_empty(space.Out()));
}

// A full disk, made real with a file-size limit in a child process: the member stops with "disk
// full", the old target stays as it was, and no temporary file is left.
TEST(ZipFailure, FullDiskKeepsTheOldTargetAndLeavesNoPartialFile) {
    const Workspace space;
    WriteZip(space.Archive(), {{"SMALL.TXT", "small"}, {"BIG.TXT", std::string(200000, 'b')}});
    space.Dir().Write("out/BIG.TXT", "old big");
    const int status = RunInChild([&] {
        testing_support::LimitFileSize(64 * 1024);
        UnzipRun run = space.Run();
        run.overwrite = true;
        if (run.Run() != DUNZIP_MEMBER_FAILED)
            return 2;
        return run.Reasons() == std::vector<int>{DUNZIP_STOP_DISK_FULL} &&
                       run.stops[0].message == "BIG.TXT: disk full, not unzipped."
                   ? 0
                   : 3;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(TreeOf(space.Out()), (std::vector<std::string>{"BIG.TXT", "SMALL.TXT"}));
    EXPECT_EQ(ReadFileBytes(space.Out() + "/BIG.TXT"), "old big");
}

TEST(ZipFailure, ReadOnlyDestinationFailsEachMemberWithAccessDenied) {
    const Workspace space;
    WriteZip(space.Archive(), {{"A.TXT", "a"}, {"SUB/B.TXT", "b"}});
    chmod(space.Out().c_str(), 0555);
    const int status = RunInChild([&] {
        testing_support::ObeyFilePermissions();
        UnzipRun run = space.Run();
        if (run.Run() != DUNZIP_MEMBER_FAILED || run.stops.size() != 2)
            return 2;
        for (const auto& stop : run.stops)
            if (stop.reason != DUNZIP_STOP_WRITE || stop.detail != 5)
                return 3;
        return run.stops[0].message == "A.TXT: cannot be written (error 5)." ? 0 : 4;
    });
    chmod(space.Out().c_str(), 0755);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fs::is_empty(space.Out()));
}
