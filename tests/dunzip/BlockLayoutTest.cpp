// The command block from the library's side: the library reading a block assembled byte by byte
// at the documented offsets.
#include "dunzip/DocumentedOffsets.h"
#include "dunzip/dunzip.h"
#include "support/TempDir.h"
#include "support/ZipFiles.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using testing_support::ReadFileBytes;
using testing_support::TempDir;

using namespace documented_offsets;

static_assert(sizeof(DunzipCommandBlock) == kBlockSize);

namespace {

// A block as raw bytes, each value put at its documented offset. The extra bytes after the
// block let a test hand in a longer block claiming its own size.
class RawBlock {
public:
    explicit RawBlock(std::size_t size) : bytes_(size + 16) { Put<std::int32_t>(0, size); }

    template <typename T> void Put(std::size_t offset, T value) {
        std::memcpy(bytes_.data() + offset, &value, sizeof value);
    }
    template <typename T> T Get(std::size_t offset) const {
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof value);
        return value;
    }
    int Call() { return dunzip(reinterpret_cast<DunzipCommandBlock*>(bytes_.data())); }

private:
    std::vector<unsigned char> bytes_;
};

struct Seen {
    int minorCalls = 0;
    std::vector<int> messages;
};

std::int32_t CountMinor(const char*, std::int32_t, void* userData) {
    ++static_cast<Seen*>(userData)->minorCalls;
    return 0;
}

std::int32_t AnswerYes(std::uint32_t id, std::uint32_t, std::int32_t, std::int32_t, char*, char*,
                       void* userData) {
    static_cast<Seen*>(userData)->messages.push_back(static_cast<int>(id));
    return id == DUNZIP_MSG_QUESTION ? DUNZIP_YES : 0;
}

} // namespace

TEST(BlockLayout, LibraryReadsEveryFieldAtItsDocumentedOffset) {
    const TempDir dir;
    const std::string archive = dir.File("a.zip");
    testing_support::WriteZip(archive, {{"A.TXT", "new a"}, {"B.DOC", "new b"}});
    const std::string destination = dir.File("out");
    dir.Write("out/A.TXT", "old a");
    const std::string pattern = "*.TXT";

    Seen seen;
    RawBlock block(kBlockSize);
    block.Put<std::int32_t>(kFunctionCode, DUNZIP_EXTRACT);
    block.Put<const char*>(kZipFile, archive.c_str());
    block.Put<const char*>(kFileSpec, pattern.c_str());
    block.Put<const char*>(kDestination, destination.c_str());
    block.Put<DunzipStatusCallback>(kMinorStatus, &CountMinor);
    block.Put<void*>(kMinorUserData, &seen);
    block.Put<DunzipMessageCallback>(kMessage, &AnswerYes);
    block.Put<void*>(kMessageUserData, &seen);
    block.Put<std::int32_t>(kReturnCount, 77);

    EXPECT_EQ(block.Call(), DUNZIP_OK);
    EXPECT_EQ(block.Get<std::int32_t>(kReturnCount), 1);
    EXPECT_EQ(ReadFileBytes(dir.File("out/A.TXT")), "new a") << "asked, answered Yes";
    EXPECT_FALSE(std::filesystem::exists(dir.File("out/B.DOC"))) << "the member pattern";
    EXPECT_EQ(std::count(seen.messages.begin(), seen.messages.end(), DUNZIP_MSG_QUESTION), 1);
    EXPECT_GT(seen.minorCalls, 0);

    // The overwrite flag at its offset: no question this time.
    seen.messages.clear();
    block.Put<std::int32_t>(kOverwrite, 1);
    EXPECT_EQ(block.Call(), DUNZIP_OK);
    EXPECT_EQ(std::count(seen.messages.begin(), seen.messages.end(), DUNZIP_MSG_QUESTION), 0);
}

TEST(BlockLayout, BlockOfAnotherSizeIsRefusedUntouched) {
    const TempDir dir;
    const std::string archive = dir.File("a.zip");
    testing_support::WriteZip(archive, {{"A.TXT", "a"}});
    const std::string destination = dir.File("out");
    std::filesystem::create_directory(destination);
    // The other build's layout, one byte more or less, nothing.
    for (const std::size_t size :
         {kOtherBuildsBlockSize, kBlockSize + 1, kBlockSize - 1, std::size_t{0}}) {
        Seen seen;
        RawBlock block(kBlockSize);
        block.Put<std::int32_t>(0, static_cast<std::int32_t>(size));
        block.Put<std::int32_t>(kFunctionCode, DUNZIP_EXTRACT);
        block.Put<const char*>(kZipFile, archive.c_str());
        block.Put<const char*>(kDestination, destination.c_str());
        block.Put<DunzipMessageCallback>(kMessage, &AnswerYes);
        block.Put<void*>(kMessageUserData, &seen);
        block.Put<std::int32_t>(kReturnCount, 77);
        EXPECT_EQ(block.Call(), DUNZIP_BAD_BLOCK) << size;
        EXPECT_EQ(block.Get<std::int32_t>(kReturnCount), 77);
        EXPECT_TRUE(seen.messages.empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(destination));
    EXPECT_EQ(dunzip(nullptr), DUNZIP_BAD_BLOCK);
}

TEST(BlockLayout, OnlyExtractingIsAFunction) {
    for (const int code : {0, 1, 6, 7, 9, 10, -1}) {
        RawBlock block(kBlockSize);
        block.Put<std::int32_t>(kFunctionCode, code);
        EXPECT_EQ(block.Call(), DUNZIP_BAD_FUNCTION) << code;
    }
    RawBlock withoutPaths(kBlockSize);
    withoutPaths.Put<std::int32_t>(kFunctionCode, DUNZIP_EXTRACT);
    EXPECT_EQ(withoutPaths.Call(), DUNZIP_BAD_ARGUMENTS);
}
