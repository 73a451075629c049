// "search": the full-text search over every entry, one line per hit.
#pragma once

#include "cli/CommandLine.h"

namespace cli {

int RunSearch(Arguments arguments);

} // namespace cli
