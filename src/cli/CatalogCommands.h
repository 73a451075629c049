// "build", "tree" and "show": a catalogue from script source, its overview tree, one entry.
#pragma once

#include "cli/CommandLine.h"

namespace cli {

int RunBuild(Arguments arguments);
int RunTree(Arguments arguments);
int RunShow(Arguments arguments);

} // namespace cli
