// The unzip component: the command block it builds, read back as raw bytes at the documented
// offsets; its events and their errors; and a real run through the library.
#include "install/UnzipFile.h"

#include "dunzip/DocumentedOffsets.h"
#include "install/UnzipLibrary.h"
#include "install/UnzipTexts.h"
#include "platform/MessageBox.h"
#include "support/TempDir.h"
#include "support/ZipFiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using install::TUnzipFile;
using install::TUnzipFlag;
using install::TUnzipSubOption;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

using namespace documented_offsets;

// The bytes of the block the component handed over, and what the fake entry answers.
struct Captured {
    std::vector<unsigned char> bytes;
    int calls = 0;
    std::int32_t result = 0;
    std::int32_t returnCount = 0;
};
Captured captured;

std::int32_t CapturingEntry(DunzipCommandBlock* block) {
    ++captured.calls;
    std::int32_t size = 0;
    std::memcpy(&size, block, sizeof size);
    const auto* bytes = reinterpret_cast<const unsigned char*>(block);
    captured.bytes.assign(bytes, bytes + size);
    block->returnCount = captured.returnCount;
    return captured.result;
}

template <typename T> T Get(std::size_t offset) {
    T value;
    std::memcpy(&value, captured.bytes.data() + offset, sizeof value);
    return value;
}

// Installs the capturing entry for one test.
class CapturingLibrary {
public:
    CapturingLibrary() {
        captured = {};
        install::SetDunzipEntry(&CapturingEntry);
    }
    ~CapturingLibrary() { install::SetDunzipEntry(nullptr); }
    CapturingLibrary(const CapturingLibrary&) = delete;
    CapturingLibrary& operator=(const CapturingLibrary&) = delete;
};

constexpr std::size_t kFlagCount = static_cast<std::size_t>(TUnzipFlag::DecryptFlag) + 1;

} // namespace

TEST(UnzipFile, BlockCarriesEveryFieldAtItsDocumentedOffset) {
    const CapturingLibrary library;
    TUnzipFile unzip(nullptr);
    unzip.lpszZipFile.SetValue("e:\\KOMP\\DEMO.ZIP");
    unzip.lpszFileSpec.SetValue("*.*");
    unzip.lpszDestination.SetValue("c:\\ziel\\");
    unzip.lpszDecryptCode.SetValue("code");
    unzip.lpszExtProgTitle.SetValue("title");
    unzip.IndexofItem = 4711;
    unzip.ReturnCount = 3;
    unzip.wUnzipSubOptions = {TUnzipSubOption::USO_OVERWRITE_RO,
                              TUnzipSubOption::USO_MANGLELONGNAMES};
    captured.returnCount = 12;
    EXPECT_TRUE(unzip.Execute(8));
    ASSERT_EQ(captured.bytes.size(), kBlockSize);

    void* self = static_cast<install::TDynaZip*>(&unzip);
    EXPECT_EQ(Get<std::int32_t>(0), static_cast<std::int32_t>(kBlockSize));
    EXPECT_EQ(Get<std::int32_t>(kFunctionCode), 8);
    EXPECT_EQ(Get<char*>(kZipFile), unzip.lpszZipFile.Buffer());
    EXPECT_EQ(Get<std::uint8_t*>(kItemInfo), unzip.ItemInfo());
    EXPECT_EQ(Get<char*>(kFileSpec), unzip.lpszFileSpec.Buffer());
    EXPECT_EQ(Get<std::int32_t>(kItemIndex), 4711);
    EXPECT_EQ(Get<char*>(kDestination), unzip.lpszDestination.Buffer());
    EXPECT_EQ(Get<DunzipStatusCallback>(kMinorStatus), &install::TDynaZip::MinorCallback);
    EXPECT_EQ(Get<void*>(kMinorUserData), self);
    EXPECT_EQ(Get<DunzipStatusCallback>(kMajorStatus), &install::TDynaZip::MajorCallback);
    EXPECT_EQ(Get<void*>(kMajorUserData), self);
    EXPECT_EQ(Get<std::int32_t>(kReturnCount), 3);
    EXPECT_EQ(Get<char*>(kReturnString), nullptr) << "an empty, not fixed string";
    EXPECT_EQ(Get<char*>(kDecryptCode), unzip.lpszDecryptCode.Buffer());
    EXPECT_EQ(Get<DunzipMessageCallback>(kMessage), &install::TDynaZip::MessageCallback);
    EXPECT_EQ(Get<void*>(kMessageUserData), self);
    EXPECT_EQ(Get<std::uint16_t>(kSubOptions), 1 | 32);
    EXPECT_EQ(Get<std::uint64_t>(kZero), 0u);
    EXPECT_EQ(Get<DunzipRenameCallback>(kRename), &install::TDynaZip::RenameCallback);
    EXPECT_EQ(Get<void*>(kRenameUserData), self);
    EXPECT_EQ(Get<char*>(kExtProgTitle), unzip.lpszExtProgTitle.Buffer());
    for (const std::size_t offset : {kUnused1, kUnused1 + 4, kUnused1 + 8})
        EXPECT_EQ(Get<std::int32_t>(offset), 0) << offset;
    EXPECT_EQ(unzip.ReturnCount, 12) << "read back after success";
}

TEST(UnzipFile, EachFlagIsOneBooleanAndNoneSetMeansAllZero) {
    const CapturingLibrary library;
    TUnzipFile unzip(nullptr);
    ASSERT_TRUE(unzip.Execute(8));
    // All options empty: the Booleans of the eight flags from the first flag's offset, of the
    // three later ones, and the sub-option word are zero.
    for (std::size_t offset = Flag(0); offset < Flag(7) + 4; ++offset)
        EXPECT_EQ(captured.bytes[offset], 0) << offset;
    for (std::size_t offset = Flag(8); offset < Flag(10) + 4; ++offset)
        EXPECT_EQ(captured.bytes[offset], 0) << offset;
    EXPECT_EQ(Get<std::uint16_t>(kSubOptions), 0);
    for (std::size_t i = 0; i < kFlagCount; ++i) {
        unzip.Options = {static_cast<TUnzipFlag>(i)};
        ASSERT_TRUE(unzip.Execute(8));
        for (std::size_t j = 0; j < kFlagCount; ++j)
            EXPECT_EQ(Get<std::int32_t>(Flag(j)), i == j ? 1 : 0) << i << " " << j;
    }
}

TEST(UnzipFile, CodesOutsideOneToNineAndFailuresAreFalse) {
    const CapturingLibrary library;
    TUnzipFile unzip(nullptr);
    EXPECT_FALSE(unzip.Execute(0));
    EXPECT_FALSE(unzip.Execute(10));
    EXPECT_FALSE(unzip.Execute(-8));
    EXPECT_EQ(captured.calls, 0);
    unzip.ReturnCount = 5;
    captured.result = DUNZIP_MEMBER_FAILED;
    captured.returnCount = 99;
    EXPECT_FALSE(unzip.Execute(8));
    EXPECT_EQ(captured.calls, 1);
    EXPECT_EQ(unzip.ReturnCount, 5) << "unchanged after a failure";

    install::SetDunzipEntry(nullptr);
    EXPECT_FALSE(unzip.Execute(8)) << "no library";
}

TEST(UnzipFile, CodeSixGivesTheReturnStringRoomForReturnCountCharacters) {
    const CapturingLibrary library;
    TUnzipFile unzip(nullptr);
    unzip.ReturnCount = 40;
    ASSERT_TRUE(unzip.Execute(6));
    EXPECT_TRUE(unzip.lpszReturnString.Fixed());
    EXPECT_EQ(unzip.lpszReturnString.Size(), 41);
    EXPECT_EQ(Get<char*>(kReturnString), unzip.lpszReturnString.Buffer());
}

TEST(UnzipFile, CallbacksRunTheEventsWithOutParametersStartingCleared) {
    TUnzipFile unzip(nullptr);
    void* self = static_cast<install::TDynaZip*>(&unzip);
    EXPECT_EQ(install::TDynaZip::MinorCallback("x", 5, self), 0) << "unassigned";
    EXPECT_EQ(install::TDynaZip::MessageCallback(8, 0, 0, 0, nullptr, nullptr, self), 0);
    std::vector<std::string> seen;
    unzip.OnMinorCallback = [&](const char* item, std::int32_t percent, bool& cancel) {
        seen.push_back(std::string(item) + " " + std::to_string(percent));
        EXPECT_FALSE(cancel);
        cancel = percent > 50;
    };
    unzip.OnMajorCallback = unzip.OnMinorCallback;
    EXPECT_EQ(install::TDynaZip::MinorCallback("a", 10, self), 0);
    EXPECT_EQ(install::TDynaZip::MajorCallback("b", 60, self), 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"a 10", "b 60"}));
    unzip.OnMessageCallback = [](std::uint16_t id, std::uint16_t type, std::int32_t p1,
                                 std::int32_t p2, char*, char*, std::int32_t& result) {
        EXPECT_EQ(result, 0);
        result = id * 1000 + type * 100 + p1 * 10 + p2;
    };
    EXPECT_EQ(install::TDynaZip::MessageCallback(8, 3, 2, 1, nullptr, nullptr, self), 8321);
}

TEST(UnzipFile, HandlerErrorCancelsTheRunAndIsRaisedByExecute) {
    const TempDir dir;
    testing_support::WriteZip(dir.File("a.zip"), {{"A.TXT", "a"}, {"B.TXT", "b"}});
    const std::string out = dir.File("out/");
    dir.Write("out/A.TXT", "old");
    install::SetDunzipEntry(&dunzip);
    TUnzipFile unzip(nullptr);
    unzip.lpszZipFile.SetValue(dir.File("a.zip").c_str());
    unzip.lpszDestination.SetValue(out.c_str());
    int handlerCalls = 0;
    unzip.OnMessageCallback = [&](std::uint16_t, std::uint16_t, std::int32_t, std::int32_t, char*,
                                  char*, std::int32_t&) {
        ++handlerCalls;
        throw std::runtime_error("box failed");
    };
    EXPECT_THROW(unzip.Execute(8), std::runtime_error);
    EXPECT_EQ(handlerCalls, 1) << "no handler runs after the error";
    EXPECT_EQ(ReadFileBytes(dir.File("out/A.TXT")), "old");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/B.TXT"))) << "the run was cancelled";

    // The next call starts afresh.
    unzip.OnMessageCallback = nullptr;
    EXPECT_TRUE(unzip.Execute(8));
    EXPECT_EQ(ReadFileBytes(dir.File("out/A.TXT")), "old") << "nobody said Yes";
    EXPECT_EQ(ReadFileBytes(dir.File("out/B.TXT")), "b");
    install::SetDunzipEntry(nullptr);
}

// The install dialog's way of using it: German texts through message id 13, the overwrite
// question answered, progress per member.
TEST(UnzipFile, ExtractsThroughTheLoadedLibraryWithGermanTexts) {
    const install::TUnzipLibrary library;
    ASSERT_TRUE(library.Loaded());
    const TempDir dir;
    testing_support::WriteZip(dir.File("a.zip"), {{"A.TXT", "new"}, {"SUB/B.TXT", "b"}});
    dir.Write("out/A.TXT", "old");
    TUnzipFile unzip(nullptr);
    unzip.lpszZipFile.SetValue(dir.File("a.zip").c_str());
    unzip.lpszDestination.SetValue(dir.File("out").c_str());
    unzip.lpszFileSpec.SetValue("*.*");
    std::vector<std::string> items;
    std::vector<std::string> questions;
    unzip.OnMinorCallback = [&](const char* item, std::int32_t percent, bool&) {
        if (percent == 100)
            items.push_back(item);
    };
    unzip.OnMessageCallback = [&](std::uint16_t id, std::uint16_t, std::int32_t p1, std::int32_t p2,
                                  char* text1, char* text2, std::int32_t& result) {
        if (id == DUNZIP_MSG_TEXT) {
            result = install::ReplaceUnzipText(p1, text1, p2);
        } else if (id == DUNZIP_MSG_QUESTION) {
            questions.push_back(std::string(text2) + ": " + text1);
            result = DUNZIP_YES;
        }
    };
    EXPECT_TRUE(unzip.Execute(8));
    EXPECT_EQ(unzip.ReturnCount, 2);
    EXPECT_EQ(ReadFileBytes(dir.File("out/A.TXT")), "new");
    EXPECT_EQ(items,
              (std::vector<std::string>{"Entpacke Datei: A.TXT", "Entpacke Datei: SUB/B.TXT"}));
    EXPECT_EQ(questions, std::vector<std::string>{"Entpacker: Datei " + dir.File("out") +
                                                  "/A.TXT existiert schon, soll sie \xFC"
                                                  "berschrieben werden?"});
}

TEST(UnzipLibrary, MissingLibraryShowsTheLoadErrorAndLeavesNoEntry) {
    std::vector<std::string> shown;
    platform::SetMessageBoxHandler([&](const std::string& text, const std::string& caption) {
        shown.push_back(caption + ": " + text);
    });
    {
        const install::TUnzipLibrary library("NICHTDA.DLL");
        EXPECT_FALSE(library.Loaded());
        EXPECT_EQ(install::DunzipEntry(), nullptr);
    }
    platform::SetMessageBoxHandler(nullptr);
    EXPECT_EQ(shown,
              std::vector<std::string>{"Vitrine - Ladefehler: Konnte DUNZIP32.DLL nicht finden!"});
}

TEST(UnzipTexts, ReplacementsAreCutToTheLibrarysBuffer) {
    char buffer[10];
    EXPECT_EQ(install::ReplaceUnzipText(72, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "Entpacke ");
    EXPECT_EQ(install::ReplaceUnzipText(9999, buffer, sizeof buffer), 0);
    EXPECT_EQ(install::ReplaceUnzipText(72, buffer, 0), 0);
}
