#include "cli/SearchCommand.h"

#include "cli/OpenCatalogue.h"
#include "cli/TextOutput.h"
#include "platform/CodePage.h"
#include "search/matching/CatalogueSearch.h"

#include <optional>
#include <string>

namespace cli {

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
    try {
        search::SearchCatalogue(catalogue.Indexed(), catalogue.Tree(), *expression, caseSensitive,
                                [&out](int index, const std::string& hitName) {
                                    out.Add(std::to_string(index) + "\t", hitName);
                                });
    } catch (const std::exception&) {
        out.Write();
        throw;
    }
    out.Write();
    return 0;
}

} // namespace cli
