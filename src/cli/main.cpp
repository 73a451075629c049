// vitrine-cat: builds catalogues from script source and looks into them.
// Exit status: 0 success (also for --help and --version), 1 bad input (one line on standard
// error), 2 wrong arguments (usage text on standard error).
#include "cli/CatalogCommands.h"
#include "cli/CommandLine.h"
#include "cli/PackCommands.h"
#include "cli/SearchCommand.h"
#include "cli/TextOutput.h"
#include "cli/UnzipCommand.h"

#include <array>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr std::array kCommands = {
    cli::Command{"build", "SOURCE DIR", cli::RunBuild},
    cli::Command{"tree", "DIR", cli::RunTree},
    cli::Command{"show", "DIR INDEX", cli::RunShow},
    cli::Command{"search", "DIR [--case] EXPR", cli::RunSearch},
    cli::Command{"text", "DIR", cli::RunText},
    cli::Command{"pack", "[--buffer N]  < BYTES > PACKED", cli::RunPack},
    cli::Command{"unpack", "[--buffer N]  < PACKED > BYTES", cli::RunUnpack},
    cli::Command{"unzip", "ARCHIVE DIR [--all|--none]", cli::RunUnzip},
};

constexpr int kBadInput = 1;
constexpr int kBadArguments = 2;

void PrintUsage(std::FILE* to) {
    std::fputs("Usage:\n", to);
    for (const auto& command : kCommands)
        std::fprintf(to, "  vitrine-cat %.*s %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.synopsis.size()),
                     command.synopsis.data());
    std::fputs("  vitrine-cat --help | --version\n", to);
}

// --help and --version answer on standard output and succeed.
bool AnswerInformationRequest(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1)
        return false;
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        std::fputs("vitrine-cat builds Vitrine catalogues from script source and looks into "
                   "them.\n",
                   stdout);
        PrintUsage(stdout);
        return true;
    }
    if (arguments[0] == "--version") {
        std::printf("vitrine-cat %s\n", VITRINE_VERSION);
        return true;
    }
    return false;
}

// Error messages become exactly one line, whatever text of a catalogue or source they quote.
void PrintError(const std::string& message) {
    std::fprintf(stderr, "%s\n", cli::ShowControls(message, cli::IsAsciiControl).c_str());
}

const cli::Command* FindCommand(const std::string& name) {
    for (const auto& command : kCommands)
        if (command.name == name)
            return &command;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (AnswerInformationRequest(arguments))
        return std::fflush(stdout) == 0 ? 0 : kBadInput;
    const cli::Command* command = arguments.empty() ? nullptr : FindCommand(arguments[0]);
    if (!command) {
        if (!arguments.empty())
            PrintError("unknown command '" + arguments[0] + "'");
        PrintUsage(stderr);
        return kBadArguments;
    }
    try {
        return command->run(cli::Arguments(arguments).subspan(1));
    } catch (const cli::UsageError& error) {
        PrintError(error.what());
        PrintUsage(stderr);
        return kBadArguments;
    } catch (const std::bad_alloc&) {
        PrintError("Out of memory");
    } catch (const std::exception& error) {
        PrintError(error.what());
    }
    return kBadInput;
}
