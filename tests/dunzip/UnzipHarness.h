// Calls the library's entry dunzip with a command block of its own and records everything the
// library reports through the callbacks.
#pragma once

#include "dunzip/dunzip.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace unzip_testing {

struct Stop {
    int reason = 0;
    int detail = 0;
    std::string message;
};

struct Progress {
    std::string item;
    int percent = 0;
};

class UnzipRun {
public:
    UnzipRun(std::string archive, std::string destination)
        : archive_(std::move(archive)), destination_(std::move(destination)) {}

    // What the run is asked to do.
    std::string fileSpec = "*.*";
    bool overwrite = false;
    bool overwriteReadOnly = false;
    // Answers overwrite questions; No unless set.
    std::function<int(const std::string& question)> answer;
    // Answers of message id 13: text number → replacement.
    std::map<int, std::string> texts;
    // Runs at each minor status; true cancels.
    std::function<bool(const Progress& progress)> onMinor;

    // The library's result.
    int Run();

    // What it reported.
    std::vector<std::string> questions;
    std::vector<std::string> captions;
    std::vector<Stop> stops;
    std::vector<Progress> minor;
    std::vector<int> major;
    int returnCount = -1;

    // The reasons of the stops, in order.
    std::vector<int> Reasons() const;

private:
    static std::int32_t Minor(const char* item, std::int32_t percent, void* userData);
    static std::int32_t Major(const char* item, std::int32_t percent, void* userData);
    static std::int32_t Message(std::uint32_t id, std::uint32_t boxType, std::int32_t p1,
                                std::int32_t p2, char* text1, char* text2, void* userData);

    std::string archive_;
    std::string destination_;
};

// Every path below root (relative, "/"-separated, folders ending in "/"), sorted; links marked
// with " -> target".
std::vector<std::string> TreeOf(const std::filesystem::path& root);

} // namespace unzip_testing
