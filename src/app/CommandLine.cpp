#include "app/CommandLine.h"

#include <filesystem>
#include <string_view>

namespace program {

namespace {

bool IsOption(std::string_view argument) {
    return argument.size() > 1 && argument.front() == '-';
}

} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    if (arguments.empty())
        return line;
    const std::string& first = arguments.front();
    if (arguments.size() == 1 && (first == "--help" || first == "-h")) {
        line.action = TCommandLine::Action::Help;
    } else if (arguments.size() == 1 && first == "--version") {
        line.action = TCommandLine::Action::Version;
    } else if (arguments.size() > 1) {
        line.action = TCommandLine::Action::Wrong;
        line.error = "Nur ein Ordner kann angegeben werden.";
    } else if (IsOption(first)) {
        line.action = TCommandLine::Action::Wrong;
        line.error = "Unbekannte Option: " + first;
    } else {
        std::error_code failed;
        const std::filesystem::path folder = std::filesystem::absolute(first, failed);
        if (failed || !std::filesystem::is_directory(folder, failed)) {
            line.action = TCommandLine::Action::Wrong;
            line.error = "Kein Ordner: " + first;
        } else {
            line.folder = folder.lexically_normal().string();
        }
    }
    return line;
}

std::string UsageText() {
    return "Aufruf: vitrine [ORDNER]\n"
           "Zeigt den Komponentenkatalog der Kestrova Pandex CD: Überblick, Suche, Installation.\n"
           "\n"
           "  ORDNER     der Ordner des Katalogs (Vitrine32.dat und Vitrine32.idx darin oder in\n"
           "             seinem Unterordner Data), etwa die eingelegte CD; ohne ORDNER der\n"
           "             Ordner des Programms\n"
           "  --help     diese Hilfe\n"
           "  --version  die Version\n";
}

std::string VersionText() {
    return "Kestrova Pandex Vitrine 2.00\n";
}

} // namespace program
