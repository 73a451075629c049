#include "cli/SearchCommand.h"

#include "cli/OpenCatalogue.h"
#include "cli/TextOutput.h"
#include "platform/CodePage.h"
#include "search/matching/CatalogueSearch.h"
#include "search/matching/EntryReaders.h"

#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace cli {

namespace {

// Runs produce; when it fails, what it produced so far is written before the error.
void WriteEvenOnFailure(TextOutput& out, const std::function<void()>& produce) {
    try {
        produce();
    } catch (const std::exception&) {
        out.Write();
        throw;
    }
    out.Write();
}

} // namespace

// search DIR [--case] EXPR
int RunSearch(Arguments arguments) {
    const bool caseSensitive = arguments.size() == 3 && arguments[1] == "--case";
    if (arguments.size() != (caseSensitive ? 3u : 2u))
        throw UsageError("search takes DIR, optionally --case, and one expression");
    const std::optional<std::string> expression = platform::Utf8ToAnsi1252(arguments.back());
    if (!expression)
        throw rtl::Exception("The search expression has characters Windows-1252 cannot hold");

    OpenCatalogue catalogue(arguments[0]);
    TextOutput out;
    WriteEvenOnFailure(out, [&] {
        search::SearchCatalogue(catalogue.Indexed(), catalogue.Tree(), *expression, caseSensitive,
                                [&out](int index, const std::string& hitName) {
                                    out.Add(std::to_string(index) + "\t", hitName);
                                });
    });
    return 0;
}

// text DIR
int RunText(Arguments arguments) {
    if (arguments.size() != 1)
        throw UsageError("text takes DIR");
    OpenCatalogue catalogue(arguments[0]);
    TextOutput out;
    WriteEvenOnFailure(out, [&] {
        search::TEntryReaders readers;
        search::TextLines lines;
        for (int index = 0; index < catalogue.Tree().Count(); ++index) {
            if (!readers.ReadEntryLines(catalogue.Indexed(), catalogue.Tree(), index, lines))
                continue;
            const std::string prefix = std::to_string(index) + "\t";
            for (const std::string_view line : lines)
                out.Add(prefix, line);
        }
    });
    return 0;
}

} // namespace cli
