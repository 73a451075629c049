// "pack" and "unpack": standard input through a record writer over the packed stream to
// standard output, and back block by block.
#pragma once

#include "cli/CommandLine.h"

namespace cli {

int RunPack(Arguments arguments);
int RunUnpack(Arguments arguments);

} // namespace cli
