// The viewer's command line: "vitrine [FOLDER]" opens the catalogue found in FOLDER (its data and
// index file there or in its Data folder), so a mounted catalogue CD opens from wherever the
// program is installed; without FOLDER, the program's own folder. --help and --version print and
// end the program.
#pragma once

#include <string>
#include <vector>

namespace program {

struct TCommandLine {
    enum class Action { Run, Help, Version, Wrong };
    Action action = Action::Run;
    // The catalogue folder, absolute; empty: the program's own folder.
    std::string folder;
    // Why the command line is wrong (German, one line).
    std::string error;
};

// The arguments after the program name, once the GUI library has taken out its own options.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The texts printed for --help and --version, each ending in a line break.
std::string UsageText();
std::string VersionText();

} // namespace program
