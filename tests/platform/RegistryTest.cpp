#include "platform/Registry.h"

#include "platform/ScopedConfigFolder.h"
#include "support/ChildProcess.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace platform;
using testing_support::ReadFileBytes;
using testing_support::ScopedConfigFolder;

namespace {

LONG SetString(HKEY key, const std::string& name, const std::string& value) {
    return RegSetValueEx(key, name, REG_SZ, value.data(), static_cast<DWORD>(value.size()));
}

LONG SetDword(HKEY key, const std::string& name, DWORD value) {
    return RegSetValueEx(key, name, REG_DWORD, &value, sizeof value);
}

// The value's bytes, or the failing result as text.
std::string QueryString(HKEY key, const std::string& name) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    const LONG result = RegQueryValueEx(key, name, nullptr, buffer, &size);
    return result == ERROR_SUCCESS ? std::string(buffer, size) : "error " + std::to_string(result);
}

HKEY CreateKey(HKEY root, const std::string& path) {
    HKEY key = 0;
    EXPECT_EQ(RegCreateKeyEx(root, path, key), ERROR_SUCCESS);
    return key;
}

} // namespace

TEST(Registry, ValuesAreStoredAsRegedit4Text) {
    const ScopedConfigFolder config;
    const HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kestrova\\Vitrine32\\2.0");
    EXPECT_EQ(SetString(key, "DefaultDestinationPath", "c:\\pandex\\component"), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, "ShowHints", 10), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, "Quote",
                        "say \"Gr\xFC\xDF"
                        "e\""),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    EXPECT_EQ(ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg")),
              "REGEDIT4\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova]\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Vitrine32]\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrova\\Vitrine32\\2.0]\n"
              "\"DefaultDestinationPath\"=\"c:\\\\pandex\\\\component\"\n"
              "\"ShowHints\"=dword:0000000a\n"
              "\"Quote\"=\"say \\\"Gr\xFC\xDF"
              "e\\\"\"\n");
}

TEST(Registry, ValuesReadBackWithTheirTypesAndSizes) {
    const ScopedConfigFolder config;
    const HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Test");
    const std::string withBreaks("line 1\r\nline 2\0end", 18);
    ASSERT_EQ(SetString(key, "Text", withBreaks), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "Number", 0xDEADBEEF), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "", "default"), ERROR_SUCCESS);

    HKEY again = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Test", again), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(again, "Text"), withBreaks);
    EXPECT_EQ(QueryString(again, ""), "default");
    DWORD type = 0;
    DWORD number = 0;
    DWORD size = sizeof number;
    EXPECT_EQ(RegQueryValueEx(again, "Number", &type, &number, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(number, 0xDEADBEEF);
    const std::string file = ReadFileBytes(config.File("HKEY_CURRENT_USER.reg"));
    EXPECT_NE(file.find("\"Text\"=hex(1):6c,69,6e,65,20,31,0d,0a,"), std::string::npos);
    EXPECT_NE(file.find("@=\"default\""), std::string::npos);
    RegCloseKey(key);
    RegCloseKey(again);
}

TEST(Registry, ValueLongerThanTheBufferIsMoreDataWithItsSize) {
    const ScopedConfigFolder config;
    const HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Test");
    ASSERT_EQ(SetString(key, "Label", "FOURTEEN-BYTES"), ERROR_SUCCESS);
    char buffer[16] = {};
    DWORD size = 13;
    EXPECT_EQ(RegQueryValueEx(key, "Label", nullptr, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 14u);
    EXPECT_EQ(buffer[0], '\0') << "nothing is copied when the value does not fit";
    size = 14;
    EXPECT_EQ(RegQueryValueEx(key, "Label", nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(buffer, size), "FOURTEEN-BYTES");
    size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Label", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 14u);
    RegCloseKey(key);
}

TEST(Registry, KeyAndValueNamesIgnoreCase) {
    const ScopedConfigFolder config;
    const HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Kestrova");
    ASSERT_EQ(SetString(key, "ShowHints", "1"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, "SHOWHINTS", "2"), ERROR_SUCCESS);
    HKEY other = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTROVA\\", other), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(other, "showhints"), "2");
    const std::string file = ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg"));
    EXPECT_EQ(file.find("SHOWHINTS"), std::string::npos) << "the first spelling stays";
    RegCloseKey(key);
    RegCloseKey(other);
}

TEST(Registry, MissingKeysAndValuesAreNotFound) {
    const ScopedConfigFolder config;
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\MicroSoft\\Windows\\CurrentVersion", key),
              ERROR_FILE_NOT_FOUND);
    key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\A");
    EXPECT_EQ(QueryString(key, "RegisteredOwner"), "error 2");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(QueryString(key, "x"), "error 6");
}

TEST(Registry, KeysAreDeletedOnlyWithoutSubKeys) {
    const ScopedConfigFolder config;
    const HKEY leaf = CreateKey(HKEY_LOCAL_MACHINE, "Software\\A\\B");
    ASSERT_EQ(SetString(leaf, "v", "x"), ERROR_SUCCESS);
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\AB\\C"));
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\Sibling"));
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\SiblingLonger"));
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Sibling"), ERROR_SUCCESS)
        << "a sibling whose name starts with the key's is no sub-key";
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\A"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "software\\a\\b"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\A\\B"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryString(leaf, "v"), "error 2") << "the open handle sees the key gone";
    EXPECT_EQ(SetString(leaf, "v", "y"), ERROR_KEY_DELETED);
    HKEY parent = 0;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\A", parent), ERROR_SUCCESS);
    RegCloseKey(parent);
    RegCloseKey(leaf);
}

TEST(Registry, ConfigFolderThatCannotBeCreatedIsAccessDenied) {
    const testing_support::TempDir dir;
    const std::string blocker = dir.Write("a-file", "x");
    const ScopedConfigFolder config(blocker + "/vitrine");
    HKEY key = 0;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\X", key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetString(HKEY_LOCAL_MACHINE, "v", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\X", key), ERROR_ACCESS_DENIED);
}

TEST(Registry, AWriteThatFailsOnAFullDiskIsReportedAndLosesNothing) {
    const ScopedConfigFolder config;
    const HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\X");
    ASSERT_EQ(SetString(key, "old", "kept"), ERROR_SUCCESS);
    const std::string before = ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg"));
    const int status = testing_support::RunInChild([&] {
        testing_support::LimitFileSize(before.size() + 100);
        return SetString(key, "big", std::string(4000, 'x')) == ERROR_ACCESS_DENIED ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg")), before);
    EXPECT_EQ(QueryString(key, "big"), "error 2");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config.Path()),
                            std::filesystem::directory_iterator()),
              2)
        << "the hive and its lock file, no temporary file";
    RegCloseKey(key);
}

TEST(Registry, AHandEditedHiveIsReadAndKeepsEveryLineItDoesNotChange) {
    const ScopedConfigFolder config;
    const std::string text = "REGEDIT4\r\n"
                             "; settings of my machine\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Elsewhere]\r\n"
                             "\"Other\"=\"root\"\r\n"
                             "\r\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Hand]\r\n"
                             "; the path below is mine\r\n"
                             "\"Path\"=\"d:\\\\data\"\r\n"
                             "\"Bytes\"=hex:01,02,\\\r\n"
                             "  03\r\n"
                             "this line does not parse\r\n"
                             "\"Odd\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                             "\r\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\Last]\r\n";
    config.Write("HKEY_LOCAL_MACHINE.reg", text);
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Hand", key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, "Path"), "d:\\data");
    EXPECT_EQ(QueryString(key, "Bytes"), "\x01\x02\x03");
    EXPECT_EQ(QueryString(key, "Other"), "error 2") << "a value of another root";
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Elsewhere", key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(SetString(key, "Path", "e:\\neu"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, "New", 7), ERROR_SUCCESS);
    std::string expected = text;
    expected.replace(expected.find("\"Path\"=\"d:\\\\data\"\r\n"), 19, "\"Path\"=\"e:\\\\neu\"\n");
    expected.insert(expected.find("\r\n[HKEY_LOCAL_MACHINE\\Software\\Last]"),
                    "\"New\"=dword:00000007\n");
    EXPECT_EQ(ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg")), expected);
    RegCloseKey(key);
}

// Every type, 10 and above too, reads back as written, also after the hive was saved again.
TEST(Registry, ValueTypesOfAnySizeRoundTrip) {
    const ScopedConfigFolder config;
    const HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Types");
    for (const DWORD type : {2u, 7u, 10u, 11u, 16u, 255u, 0x12345678u})
        ASSERT_EQ(RegSetValueEx(key, "T" + std::to_string(type), type, "ab", 2), ERROR_SUCCESS);
    for (int save = 0; save < 2; ++save) {
        ASSERT_EQ(SetDword(key, "save", static_cast<DWORD>(save)), ERROR_SUCCESS);
        for (const DWORD type : {2u, 7u, 10u, 11u, 16u, 255u, 0x12345678u}) {
            DWORD read = 0;
            EXPECT_EQ(RegQueryValueEx(key, "T" + std::to_string(type), &read, nullptr, nullptr),
                      ERROR_SUCCESS);
            EXPECT_EQ(read, type) << "after save " << save;
        }
    }
    EXPECT_NE(ReadFileBytes(config.File("HKEY_LOCAL_MACHINE.reg")).find("\"T11\"=hex(b):61,62"),
              std::string::npos);
    RegCloseKey(key);
}

TEST(Registry, AReadOnlyConfigFolderWithoutALockFileIsStillRead) {
    const ScopedConfigFolder config;
    config.Write("HKEY_LOCAL_MACHINE.reg",
                 "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Ro]\n\"v\"=\"gelesen\"\n");
    std::filesystem::permissions(config.Path(), std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::owner_exec);
    const int status = testing_support::RunInChild([] {
        testing_support::ObeyFilePermissions();
        HKEY key = 0;
        if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Ro", key) != ERROR_SUCCESS)
            return 1;
        if (QueryString(key, "v") != "gelesen")
            return 2;
        return SetString(key, "v", "neu") == ERROR_ACCESS_DENIED ? 0 : 3;
    });
    std::filesystem::permissions(config.Path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(status, 0);
}

TEST(Registry, APrivateHiveStaysPrivateAndALinkedHiveIsWrittenThroughItsLink) {
    const ScopedConfigFolder config;
    const testing_support::TempDir dotfiles;
    const std::string target = dotfiles.Write("vitrine.reg", "REGEDIT4\n");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);
    std::filesystem::create_symlink(target, config.File("HKEY_LOCAL_MACHINE.reg"));
    const HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Linked");
    ASSERT_EQ(SetString(key, "v", "x"), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::is_symlink(config.File("HKEY_LOCAL_MACHINE.reg")));
    EXPECT_NE(ReadFileBytes(target).find("\"v\"=\"x\""), std::string::npos);
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    RegCloseKey(key);
}

TEST(Registry, TwoProcessesWritingAtTheSameTimeLoseNoValue) {
    const ScopedConfigFolder config;
    constexpr int kWriters = 2;
    constexpr int kValuesEach = 100;
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "Software\\Shared"));
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            HKEY key = 0;
            int failures = RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Shared", key) != 0;
            for (int i = 0; i < kValuesEach; ++i)
                failures += SetDword(key, "W" + std::to_string(writer) + "_" + std::to_string(i),
                                     static_cast<DWORD>(writer * 1000 + i)) != ERROR_SUCCESS;
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Shared", key), ERROR_SUCCESS);
    int missing = 0;
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int i = 0; i < kValuesEach; ++i) {
            DWORD value = 0;
            DWORD size = sizeof value;
            const std::string name = "W" + std::to_string(writer) + "_" + std::to_string(i);
            missing += RegQueryValueEx(key, name, nullptr, &value, &size) != ERROR_SUCCESS ||
                       value != static_cast<DWORD>(writer * 1000 + i);
        }
    }
    EXPECT_EQ(missing, 0);
    RegCloseKey(key);
}
