// "unzip ARCHIVE DIR [--all|--none]": unpacks an archive with the program's unzip component and
// library, without a window. Overwrite questions are answered Yes (--all) or No (--none, the
// default); each refused or failed member is one line on standard error.
#pragma once

#include "cli/CommandLine.h"

namespace cli {

// 0 when every member was unpacked (or left alone at a question), 1 otherwise.
int RunUnzip(Arguments arguments);

} // namespace cli
