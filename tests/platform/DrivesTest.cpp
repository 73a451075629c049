#include "platform/Drives.h"

#include "platform/ScopedConfigFolder.h"
#include "platform/VolumeLabel.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace platform;
using testing_support::ScopedConfigFolder;

namespace {

// An image with an ISO 9660 primary volume descriptor labelled label (padded with blanks).
std::string IsoImage(const std::string& label) {
    std::string image(40000, '\0');
    image[32768] = 1;
    image.replace(32769, 5, "CD001");
    image[32774] = 1;
    image.replace(32808, 32, (label + std::string(32, ' ')).substr(0, 32));
    return image;
}

// An image with only UDF descriptors: the anchor at sector 256 points to a sequence at sector
// 32 whose primary volume descriptor carries label as an 8-bit dstring.
std::string UdfImage(const std::string& label) {
    std::string image(257 * 2048, '\0');
    const std::size_t anchor = 256 * 2048;
    image[anchor] = 2;
    image[anchor + 16] = 0x00; // extent length 16 * 2048 = 0x8000
    image[anchor + 17] = static_cast<char>(0x80);
    image[anchor + 20] = 32;               // extent location: sector 32
    const std::size_t primary = 33 * 2048; // sector 32 holds something else first
    image[32 * 2048] = 5;
    image[primary] = 1;
    image[primary + 24] = 8;
    image.replace(primary + 25, label.size(), label);
    image[primary + 24 + 31] = static_cast<char>(label.size() + 1);
    return image;
}

std::string FakeLabel(const std::string& device) {
    return "LABEL-OF-" + device;
}

} // namespace

TEST(Drives, DrivesFileGivesFolderTypeAndLabel) {
    const DrivesFile file = ParseDrivesFile("# drive table\n"
                                            "e: = /media/cdrom  cdrom  KSTRV02\n"
                                            "F: = \"/mnt/my share\" remote  Team Disk\r\n"
                                            "g: = ~/stick/ removable\n"
                                            "h: = /srv/x  floppy\n"
                                            "c: = /data\n"
                                            "COM2 = /dev/ttyUSB0\n"
                                            "nonsense\n",
                                            "/home/user");
    ASSERT_EQ(file.drives.size(), 4u);
    EXPECT_EQ(file.drives[0].letter, 'e');
    EXPECT_EQ(file.drives[0].folder, "/media/cdrom");
    EXPECT_EQ(file.drives[0].type, DriveType::CdRom);
    EXPECT_EQ(file.drives[0].label, "KSTRV02");
    EXPECT_EQ(file.drives[1].letter, 'f');
    EXPECT_EQ(file.drives[1].folder, "/mnt/my share");
    EXPECT_EQ(file.drives[1].type, DriveType::Remote);
    EXPECT_EQ(file.drives[1].label, "Team Disk");
    EXPECT_EQ(file.drives[2].folder, "/home/user/stick");
    EXPECT_EQ(file.drives[2].type, DriveType::Removable);
    EXPECT_EQ(file.drives[3].letter, 'c');
    EXPECT_EQ(file.drives[3].type, DriveType::Fixed);
    EXPECT_EQ(file.serialPorts.at(2), "/dev/ttyUSB0");
}

TEST(Drives, MountTableYieldsOnlyCdFileSystems) {
    const auto mounts = ParseCdMounts("/dev/vda / ext4 rw 0 0\n"
                                      "/dev/sr0 /media/user/KSTRV02 iso9660 ro 0 0\n"
                                      "/dev/sr1 /media/My\\040Disc udf ro 0 0\n"
                                      "proc /proc proc rw 0 0\n");
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].device, "/dev/sr0");
    EXPECT_EQ(mounts[0].mountPoint, "/media/user/KSTRV02");
    EXPECT_EQ(mounts[1].mountPoint, "/media/My Disc");
}

TEST(Drives, DefaultsFillWhatTheFileLeavesOpen) {
    const DrivesFile file = ParseDrivesFile("d: = /data fixed\n"
                                            "f: = /media/named cdrom\n"
                                            "i: = /media/labelled cdrom  KSTRV02\n",
                                            "/home/user");
    const std::vector<CdMount> mounts = {{"/dev/sr0", "/media/first"},
                                         {"/dev/sr1", "/media/named"},
                                         {"/dev/sr2", "/media/second"},
                                         {"/dev/sr3", "/media/labelled"}};
    const DriveTable table = DriveTable::Build(file, "/home/user", mounts, &FakeLabel);

    ASSERT_NE(table.Find('C'), nullptr);
    EXPECT_EQ(table.Find('c')->folder, "/home/user");
    EXPECT_EQ(table.Find('c')->type, DriveType::Fixed);
    EXPECT_EQ(table.Find('d')->folder, "/data");
    ASSERT_NE(table.Find('e'), nullptr);
    EXPECT_EQ(table.Find('e')->folder, "/media/first");
    EXPECT_EQ(table.Find('e')->type, DriveType::CdRom);
    EXPECT_EQ(table.Find('e')->label, "LABEL-OF-/dev/sr0");
    EXPECT_EQ(table.Find('f')->label, "LABEL-OF-/dev/sr1") << "a named CD drive gets its label";
    ASSERT_NE(table.Find('g'), nullptr);
    EXPECT_EQ(table.Find('g')->folder, "/media/second");
    EXPECT_EQ(table.Find('h'), nullptr);
    EXPECT_EQ(table.Find('i')->label, "KSTRV02") << "the file's label stays";
    EXPECT_EQ(table.Drives().size(), 6u);
}

TEST(Drives, DeepestFolderHoldsAPath) {
    const DriveTable table({{'c', "/home/user", DriveType::Fixed, ""},
                            {'e', "/home/user/cd", DriveType::CdRom, ""},
                            {'r', "/", DriveType::Fixed, ""}});
    EXPECT_EQ(table.FindHolding("/home/user/cd/x")->letter, 'e');
    EXPECT_EQ(table.FindHolding("/home/user/cdx")->letter, 'c');
    EXPECT_EQ(table.FindHolding("/home/user")->letter, 'c');
    EXPECT_EQ(table.FindHolding("/etc")->letter, 'r');
}

TEST(Drives, Iso9660AndUdfLabelsAreRead) {
    std::istringstream iso(IsoImage("KSTRV02"));
    EXPECT_EQ(ReadIso9660Label(iso), "KSTRV02");
    std::istringstream udf(UdfImage("PANDEX CD"));
    EXPECT_EQ(ReadIso9660Label(udf), "");
    EXPECT_EQ(ReadUdfLabel(udf), "PANDEX CD");
    std::istringstream tooShort(std::string(1000, '\0'));
    EXPECT_EQ(ReadIso9660Label(tooShort), "");
    EXPECT_EQ(ReadUdfLabel(tooShort), "");

    const testing_support::TempDir dir;
    EXPECT_EQ(ReadVolumeLabel(dir.Write("cd.iso", IsoImage("FULL-LENGTH-LABEL-OF-32-CHARS-XY"))),
              "FULL-LENGTH-LABEL-OF-32-CHARS-XY");
    EXPECT_EQ(ReadVolumeLabel(dir.Write("dvd.img", UdfImage("DVD"))), "DVD");
}

TEST(Drives, DriveTypeAndVolumeLabelComeFromTheDrivesFile) {
    const ScopedConfigFolder config;
    const testing_support::TempDir cd;
    config.Write("drives", "e: = " + cd.Path().string() +
                               " cdrom KSTRV02\n"
                               "n: = " +
                               cd.Path().string() + "/missing remote\n");
    EXPECT_EQ(GetDriveType("e:\\"), DriveType::CdRom);
    EXPECT_EQ(GetDriveType("E:"), DriveType::CdRom);
    EXPECT_EQ(GetDriveType("c:\\"), DriveType::Fixed);
    EXPECT_EQ(GetDriveType("y:\\"), DriveType::NoRootDir);
    EXPECT_EQ(GetDriveType("e:\\KOMP"), DriveType::NoRootDir);
    EXPECT_EQ(GetVolumeLabel("e:\\"), "KSTRV02");
    EXPECT_EQ(GetVolumeLabel("n:\\"), std::nullopt) << "no medium";
    EXPECT_EQ(GetVolumeLabel("y:\\"), std::nullopt);
}
