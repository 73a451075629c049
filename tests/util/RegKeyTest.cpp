#include "util/RegKey.h"

#include "platform/Registry.h"
#include "platform/ScopedConfigFolder.h"
#include "util/AppSettings.h"

#include <gtest/gtest.h>

using namespace util;
using testing_support::ReadFileBytes;
using testing_support::ScopedConfigFolder;

namespace {

std::string ReadErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegKey& e) {
        return e.Message();
    }
    return "no error";
}

} // namespace

TEST(RegKey, SettingsWrittenByOneKeyAreReadBackByAnother) {
    const ScopedConfigFolder config;
    AppSettings written;
    written.DefaultDestinationPath = "d:\\Komponenten \xFC"
                                     "ber alles";
    written.ShowHints = 0;
    written.CDVolumeLabel = "KSTRV03";
    WriteAppSettings(written);

    AppSettings read;
    ReadAppSettings(read);
    EXPECT_EQ(read.DefaultDestinationPath, written.DefaultDestinationPath);
    EXPECT_EQ(read.ShowHints, 0);
    EXPECT_EQ(read.CDVolumeLabel, "KSTRV03");

    EXPECT_EQ(ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg")),
              "REGEDIT4\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova]\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Vitrine32]\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Vitrine32\\2.0]\n"
              "\"DefaultDestinationPath\"=\"d:\\\\Komponenten \xFC"
              "ber alles\"\n"
              "\"ShowHints\"=dword:00000000\n"
              "\"CDVolumeLabel\"=\"KSTRV03\"\n");
}

TEST(RegKey, ReadingCreatesAMissingKeyAndKeepsTheDefaults) {
    const ScopedConfigFolder config;
    AppSettings settings;
    ReadAppSettings(settings);
    EXPECT_EQ(settings.DefaultDestinationPath, "c:\\pandex\\component");
    EXPECT_EQ(settings.ShowHints, 1);
    EXPECT_EQ(settings.CDVolumeLabel, "KSTRV02");
    const TRegKey key(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, true);
    EXPECT_EQ(key.LastResult(), platform::ERROR_SUCCESS);
}

TEST(RegKey, MissingShowHintsReadsAsOne) {
    const ScopedConfigFolder config;
    {
        TRegKey key(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, false);
        key.WriteString("CDVolumeLabel", "OTHER");
    }
    AppSettings settings;
    settings.ShowHints = 0;
    ReadAppSettings(settings);
    EXPECT_EQ(settings.ShowHints, 1);
    EXPECT_EQ(settings.CDVolumeLabel, "OTHER");
}

TEST(RegKey, VolumeLabelLongerThanThirteenBytesIsAReadError) {
    const ScopedConfigFolder config;
    {
        TRegKey key(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, false);
        key.WriteString("CDVolumeLabel", "THIRTEEN-BYTE");
    }
    AppSettings settings;
    ReadAppSettings(settings);
    EXPECT_EQ(settings.CDVolumeLabel, "THIRTEEN-BYTE");
    {
        TRegKey key(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, false);
        key.WriteString("CDVolumeLabel", "FOURTEEN-BYTES");
    }
    EXPECT_EQ(ReadErrorOf([&] { ReadAppSettings(settings); }),
              "Fehler beim Lesen des RegistryStrings!");
}

TEST(RegKey, StringsReadAlikeWithOrWithoutATerminatingNul) {
    const ScopedConfigFolder config;
    TRegKey key(platform::HKEY_CURRENT_USER, "Software\\Test", false);
    ASSERT_EQ(key.LastResult(), platform::ERROR_SUCCESS);
    key.WriteString("Plain", "abc");
    platform::HKEY raw = 0;
    ASSERT_EQ(platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, "Software\\Test", raw), 0);
    ASSERT_EQ(platform::RegSetValueEx(raw, "WithNul", platform::REG_SZ, "abc", 4), 0);
    platform::RegCloseKey(raw);

    EXPECT_EQ(key.ReadString("Plain", "", 3), "abc");
    EXPECT_EQ(key.LastResult(), platform::ERROR_SUCCESS);
    EXPECT_EQ(key.ReadString("WithNul", "", 4), "abc");
    EXPECT_EQ(key.ReadString("Missing", "fallback", 255), "fallback");
    EXPECT_EQ(key.LastResult(), platform::ERROR_FILE_NOT_FOUND);
    key.WriteString("Empty", "");
    EXPECT_EQ(key.ReadString("Empty", "x", 0), "");
    EXPECT_EQ(ReadErrorOf([&] { key.ReadString("Plain", "", 2); }),
              "Fehler beim Lesen des RegistryStrings!");
}

TEST(RegKey, IntegersRoundTripAndWrongTypesAreReadErrors) {
    const ScopedConfigFolder config;
    TRegKey key(platform::HKEY_CURRENT_USER, "Software\\Test", false);
    key.WriteInteger("Negative", -2);
    key.WriteInteger("Large", 0x7FFFFFFF);
    key.WriteString("Text", "1");
    EXPECT_EQ(key.ReadInteger("Negative", 0), -2);
    EXPECT_EQ(key.ReadInteger("Large", 0), 0x7FFFFFFF);
    EXPECT_EQ(key.ReadInteger("Missing", 7), 7);
    EXPECT_EQ(ReadErrorOf([&] { key.ReadInteger("Text", 0); }),
              "Fehler beim Lesen des RegistryStrings!");
    EXPECT_EQ(ReadErrorOf([&] { key.ReadString("Large", "", 255); }),
              "Fehler beim Lesen des RegistryStrings!");
}

TEST(RegKey, OpeningAMissingKeyOnlyReportsTheResult) {
    const ScopedConfigFolder config;
    TRegKey key(platform::HKEY_LOCAL_MACHINE, "Software\\MicroSoft\\Windows\\CurrentVersion", true);
    EXPECT_EQ(key.LastResult(), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadErrorOf([&] { key.ReadString("RegisteredOwner", "", 255); }),
              "Fehler beim Lesen des RegistryStrings!");
    EXPECT_EQ(ReadErrorOf([&] { key.WriteString("RegisteredOwner", "x"); }),
              "Fehler beim Schreiben des RegistryStrings!");
    EXPECT_EQ(ReadErrorOf([&] { key.WriteInteger("Count", 1); }),
              "Fehler beim Schreiben des RegistryStrings!");
    EXPECT_EQ(ReadErrorOf([&] { key.Close(); }), "no error") << "nothing was open";
}

TEST(RegKey, DeleteAndFreeRemovesTheKey) {
    const ScopedConfigFolder config;
    TRegKey key(platform::HKEY_LOCAL_MACHINE, "Software\\Gone", false);
    key.WriteString("v", "x");
    key.DeleteAndFree();
    EXPECT_EQ(TRegKey(platform::HKEY_LOCAL_MACHINE, "Software\\Gone", true).LastResult(),
              platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadErrorOf([&] { key.DeleteAndFree(); }),
              "Fehler beim L\xF6schen des RegistryKeys!");
}

TEST(RegKey, UnwritableConfigFolderKeepsTheDefaultsButAWriteIsReported) {
    const testing_support::TempDir dir;
    const ScopedConfigFolder config(dir.Write("a-file", "x") + "/vitrine");
    AppSettings settings;
    settings.CDVolumeLabel = "CHANGED";
    EXPECT_NO_THROW(ReadAppSettings(settings));
    EXPECT_EQ(settings.CDVolumeLabel, "CHANGED");
    try {
        WriteAppSettings(settings);
        ADD_FAILURE() << "reported as saved";
    } catch (const ERegKey& error) {
        EXPECT_EQ(error.Message(), "Fehler beim Schreiben des RegistryStrings!");
    }
    EXPECT_EQ(TRegKey(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, false).LastResult(),
              platform::ERROR_ACCESS_DENIED);
}

TEST(AppSettings, NewSinceDateKeepsTextAndDateTogether) {
    AppSettings settings;
    EXPECT_EQ(settings.NewSinceDateText, "02.05.96");
    EXPECT_EQ(settings.NewSinceDate, rtl::EncodeDate(1996, 5, 2));
    settings.SetNewSinceDate("24.12.99");
    EXPECT_EQ(settings.NewSinceDateText, "24.12.99");
    EXPECT_EQ(settings.NewSinceDate, rtl::EncodeDate(1999, 12, 24));
    EXPECT_THROW(settings.SetNewSinceDate("31.02.99"), rtl::EConvertError);
    EXPECT_EQ(settings.NewSinceDateText, "24.12.99");
}

TEST(AppSettings, NewSinceDateIsNeverStored) {
    const ScopedConfigFolder config;
    AppSettings settings;
    settings.SetNewSinceDate("01.01.97");
    WriteAppSettings(settings);
    EXPECT_EQ(ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg")).find("NewSince"),
              std::string::npos);
}
