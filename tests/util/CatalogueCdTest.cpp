#include "util/CatalogueCd.h"

#include "platform/ScopedConfigFolder.h"
#include "util/AppSettings.h"

#include <filesystem>
#include <gtest/gtest.h>

using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace {

class CatalogueCd : public testing::Test {
protected:
    CatalogueCd() {
        util::Settings() = util::AppSettings{};
        std::filesystem::create_directories(media_.Path() / "cd");
        std::filesystem::create_directories(media_.Path() / "hd");
    }

    std::string Folder(const std::string& name) const { return media_.File(name); }
    void Drives(const std::string& lines) const { config_.Write("drives", lines); }

    TempDir media_;
    ScopedConfigFolder config_;
};

} // namespace

TEST_F(CatalogueCd, TheFirstCdRomDriveIsFoundAndItsLabelComparedInUpperCase) {
    Drives("d: = " + Folder("hd") + " fixed\ng: = " + Folder("cd") + " cdrom kstrv02\n");
    EXPECT_EQ(util::FindCDDrive(), 'g');
    EXPECT_TRUE(util::IsCatalogueCDInserted());
}

TEST_F(CatalogueCd, AnotherLabelOrNoMediumIsNotTheCatalogueCd) {
    Drives("e: = " + Folder("cd") + " cdrom OTHERCD\n");
    EXPECT_FALSE(util::IsCatalogueCDInserted());
    Drives("e: = " + Folder("empty-tray") + " cdrom KSTRV02\n");
    EXPECT_EQ(util::FindCDDrive(), 'e');
    EXPECT_FALSE(util::IsCatalogueCDInserted());
}

TEST_F(CatalogueCd, OnlyTheFirstCdRomDriveIsLookedAt) {
    Drives("e: = " + Folder("hd") + " cdrom OTHERCD\nf: = " + Folder("cd") + " cdrom KSTRV02\n");
    EXPECT_EQ(util::FindCDDrive(), 'e');
    EXPECT_FALSE(util::IsCatalogueCDInserted());
}

TEST_F(CatalogueCd, WithoutACdRomDriveTheLetterIsABlank) {
    Drives("d: = " + Folder("cd") + " removable KSTRV02\n");
    EXPECT_EQ(util::FindCDDrive(), ' ');
    EXPECT_FALSE(util::IsCatalogueCDInserted());
}

TEST_F(CatalogueCd, TheLabelSettingDecides) {
    Drives("e: = " + Folder("cd") + " cdrom PANDEX3\n");
    EXPECT_FALSE(util::IsCatalogueCDInserted());
    util::Settings().CDVolumeLabel = "PANDEX3";
    EXPECT_TRUE(util::IsCatalogueCDInserted());
}
