#include "cli/UnzipCommand.h"

#include "cli/TextOutput.h"
#include "install/UnzipFile.h"
#include "install/UnzipLibrary.h"
#include "install/UnzipTexts.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace cli {

namespace {

constexpr int kFailed = 1;

struct UnzipArguments {
    std::string archive;
    std::string destination;
    bool overwrite = false;
};

UnzipArguments ParseUnzipArguments(Arguments arguments) {
    UnzipArguments parsed;
    std::vector<std::string> paths;
    int answers = 0;
    for (const std::string& argument : arguments) {
        if (argument == "--all" || argument == "--none") {
            parsed.overwrite = argument == "--all";
            ++answers;
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() != 2 || answers > 1)
        throw UsageError("expected ARCHIVE DIR and at most one of --all, --none");
    parsed.archive = paths[0];
    parsed.destination = paths[1];
    return parsed;
}

} // namespace

int RunUnzip(Arguments arguments) {
    const UnzipArguments parsed = ParseUnzipArguments(arguments);
    const install::TUnzipLibrary library;
    if (!library.Loaded())
        return kFailed;
    std::filesystem::create_directories(parsed.destination);

    install::TUnzipFile unzipper(nullptr);
    unzipper.lpszZipFile.SetValue(parsed.archive.c_str());
    unzipper.lpszDestination.SetValue(parsed.destination.c_str());
    unzipper.lpszFileSpec.SetValue("*.*");
    bool anyStopped = false;
    unzipper.OnMessageCallback = [&](std::uint16_t id, std::uint16_t, std::int32_t p1,
                                     std::int32_t p2, char* text1, char*, std::int32_t& result) {
        switch (id) {
        case DUNZIP_MSG_QUESTION:
            result = parsed.overwrite ? DUNZIP_YES : DUNZIP_NO;
            break;
        case DUNZIP_MSG_STOPPED:
            anyStopped = true;
            std::fprintf(stderr, "%s\n", ShownAnsiText(text1).c_str());
            break;
        case DUNZIP_MSG_TEXT:
            result = install::ReplaceUnzipText(p1, text1, p2);
            break;
        default:
            break;
        }
    };
    const bool unpacked = unzipper.Execute(DUNZIP_EXTRACT);
    return unpacked && !anyStopped ? 0 : kFailed;
}

} // namespace cli
