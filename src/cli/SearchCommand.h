// "search": the full-text search over every entry, one line per hit; "text": every entry's
// searchable text, one INDEX<TAB>LINE per line, in index order.
#pragma once

#include "cli/CommandLine.h"

namespace cli {

int RunSearch(Arguments arguments);
int RunText(Arguments arguments);

} // namespace cli
