// The command-line tool's pieces shared by its subcommands: the table entry of one subcommand,
// the usage error, and the parsing of numeric arguments.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cli {

using Arguments = std::span<const std::string>;

// One subcommand: its name, its argument synopsis for the usage text, and the function that runs
// it with the arguments after its name. The function returns the exit status.
struct Command {
    std::string_view name;
    std::string_view synopsis;
    int (*run)(Arguments arguments);
};

// Wrong arguments: the tool prints its usage text and ends with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A decimal number from minimum to maximum, or UsageError naming what it should be.
long long ParseNumber(const std::string& text, long long minimum, long long maximum,
                      std::string_view what);

// The record buffer size of "pack" and "unpack": "--buffer N" or nothing (64000).
int ParseBufferOption(Arguments arguments);

} // namespace cli
