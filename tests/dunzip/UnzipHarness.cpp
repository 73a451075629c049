#include "dunzip/UnzipHarness.h"

#include <algorithm>
#include <cstring>

namespace unzip_testing {

namespace {

UnzipRun& RunOf(void* userData) {
    return *static_cast<UnzipRun*>(userData);
}

} // namespace

int UnzipRun::Run() {
    DunzipCommandBlock block{};
    block.blockSize = sizeof block;
    block.functionCode = DUNZIP_EXTRACT;
    block.zipFile = archive_.c_str();
    block.destination = destination_.c_str();
    block.fileSpec = fileSpec.c_str();
    block.overwrite = overwrite ? 1 : 0;
    block.subOptions = overwriteReadOnly ? DUNZIP_SUB_OVERWRITE_READONLY : 0;
    block.minorStatus = &Minor;
    block.minorUserData = this;
    block.majorStatus = &Major;
    block.majorUserData = this;
    block.message = &Message;
    block.messageUserData = this;
    const int result = dunzip(&block);
    returnCount = block.returnCount;
    return result;
}

std::vector<int> UnzipRun::Reasons() const {
    std::vector<int> reasons;
    for (const Stop& stop : stops)
        reasons.push_back(stop.reason);
    return reasons;
}

std::int32_t UnzipRun::Minor(const char* item, std::int32_t percent, void* userData) {
    UnzipRun& run = RunOf(userData);
    run.minor.push_back({item, percent});
    return run.onMinor && run.onMinor(run.minor.back()) ? 1 : 0;
}

std::int32_t UnzipRun::Major(const char*, std::int32_t percent, void* userData) {
    RunOf(userData).major.push_back(percent);
    return 0;
}

std::int32_t UnzipRun::Message(std::uint32_t id, std::uint32_t, std::int32_t p1, std::int32_t p2,
                               char* text1, char* text2, void* userData) {
    UnzipRun& run = RunOf(userData);
    switch (id) {
    case DUNZIP_MSG_QUESTION:
        run.questions.push_back(text1);
        run.captions.push_back(text2);
        return run.answer ? run.answer(text1) : DUNZIP_NO;
    case DUNZIP_MSG_STOPPED:
        run.stops.push_back({p1, p2, text1});
        run.captions.push_back(text2);
        return 1;
    case DUNZIP_MSG_TEXT: {
        const auto replacement = run.texts.find(p1);
        if (replacement == run.texts.end())
            return 0;
        std::strncpy(text1, replacement->second.c_str(), static_cast<std::size_t>(p2));
        return 1;
    }
    default:
        return 1;
    }
}

std::vector<std::string> TreeOf(const std::filesystem::path& root) {
    std::vector<std::string> entries;
    for (auto it = std::filesystem::recursive_directory_iterator(root);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        std::string entry = it->path().lexically_relative(root).generic_string();
        if (it->is_symlink())
            entry += " -> " + std::filesystem::read_symlink(it->path()).string();
        else if (it->is_directory())
            entry += "/";
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace unzip_testing
