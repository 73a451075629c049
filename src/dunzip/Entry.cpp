// The exported entry dunzip: checks the command block, resolves its paths and runs the
// extraction with the block's callbacks as host. No exception leaves the library.
#include "dunzip/Archive.h"
#include "dunzip/Extraction.h"
#include "dunzip/MemberPath.h"
#include "dunzip/Texts.h"
#include "dunzip/dunzip.h"
#include "platform/DosPath.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>

namespace unzip {

namespace {

// The block's callbacks; an unset callback answers as if nothing was done.
class BlockHost final : public Host {
public:
    explicit BlockHost(const DunzipCommandBlock& block) : block_(block) {}

    std::string Text(int number) override;
    bool MinorStatus(const std::string& item, int percent) override {
        return Status(block_.minorStatus, block_.minorUserData, item, percent);
    }
    bool MajorStatus(const std::string& item, int percent) override {
        return Status(block_.majorStatus, block_.majorUserData, item, percent);
    }
    int Ask(const std::string& question, const std::string& caption) override;
    void Stopped(int reason, int detail, const std::string& message,
                 const std::string& caption) override;

private:
    static bool Status(DunzipStatusCallback callback, void* userData, const std::string& item,
                       int percent) {
        return callback != nullptr && callback(item.c_str(), percent, userData) != 0;
    }
    int32_t Message(uint32_t id, uint32_t boxType, int32_t p1, int32_t p2, std::string text1,
                    std::string text2);

    const DunzipCommandBlock& block_;
    std::map<int, std::string> texts_; // asked once per run
};

std::string BlockHost::Text(int number) {
    if (const auto known = texts_.find(number); known != texts_.end())
        return known->second;
    std::array<char, DUNZIP_TEXT_BUFFER_SIZE> buffer{};
    const std::string_view own = DefaultText(number);
    std::memcpy(buffer.data(), own.data(), std::min(own.size(), buffer.size() - 1));
    const bool replaced =
        block_.message != nullptr &&
        block_.message(DUNZIP_MSG_TEXT, 0, number, static_cast<int32_t>(buffer.size()),
                       buffer.data(), nullptr, block_.messageUserData) == 1;
    buffer.back() = '\0';
    std::string text = replaced ? std::string(buffer.data()) : std::string(own);
    return texts_.emplace(number, std::move(text)).first->second;
}

int BlockHost::Ask(const std::string& question, const std::string& caption) {
    return Message(DUNZIP_MSG_QUESTION, DUNZIP_BOX_QUESTION, 0, 0, question, caption);
}

void BlockHost::Stopped(int reason, int detail, const std::string& message,
                        const std::string& caption) {
    Message(DUNZIP_MSG_STOPPED, DUNZIP_BOX_WARNING, reason, detail, message, caption);
}

// The texts are handed over as copies, since the callback may write into them.
int32_t BlockHost::Message(uint32_t id, uint32_t boxType, int32_t p1, int32_t p2, std::string text1,
                           std::string text2) {
    if (block_.message == nullptr)
        return 0;
    return block_.message(id, boxType, p1, p2, text1.data(), text2.data(), block_.messageUserData);
}

// A DOS path goes through the drive table: nullopt when its drive is unknown. Any other path is
// native already.
std::optional<std::string> NativePath(const char* path) {
    if (!HasDriveLetter(path))
        return std::string(path);
    return platform::DosToNative(path);
}

bool IsEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}

int32_t RunExtract(DunzipCommandBlock& block) {
    if (IsEmpty(block.zipFile) || IsEmpty(block.destination))
        return DUNZIP_BAD_ARGUMENTS;
    BlockHost host(block);
    const auto archivePath = NativePath(block.zipFile);
    int zipError = ZIP_ER_NOENT;
    const ZipArchive archive = archivePath ? OpenArchiveFile(*archivePath, zipError) : nullptr;
    if (!archive) {
        host.Stopped(DUNZIP_STOP_ARCHIVE, zipError,
                     FillText(host.Text(DUNZIP_TEXT_NO_ARCHIVE),
                              {block.zipFile, ZipErrorCause(host, zipError)}),
                     host.Text(DUNZIP_TEXT_CAPTION));
        return DUNZIP_NO_ARCHIVE;
    }
    ExtractOptions options;
    options.archiveShown = block.zipFile;
    // An unknown drive gives no folder at all, which the run reports as not found.
    options.destination = NativePath(block.destination).value_or("");
    options.destinationShown = block.destination;
    if (!IsEmpty(block.fileSpec))
        options.fileSpec = block.fileSpec;
    options.overwrite = block.overwrite != 0;
    options.overwriteReadOnly = (block.subOptions & DUNZIP_SUB_OVERWRITE_READONLY) != 0;
    const ExtractResult result = Extract(*archive, options, host);
    block.returnCount = result.filesWritten;
    return result.result;
}

} // namespace

} // namespace unzip

extern "C" __attribute__((visibility("default"))) int32_t dunzip(DunzipCommandBlock* block) {
    if (block == nullptr || block->blockSize != static_cast<int32_t>(sizeof(DunzipCommandBlock)))
        return DUNZIP_BAD_BLOCK;
    if (block->functionCode != DUNZIP_EXTRACT)
        return DUNZIP_BAD_FUNCTION;
    try {
        return unzip::RunExtract(*block);
    } catch (...) {
        return DUNZIP_INTERNAL_ERROR;
    }
}
