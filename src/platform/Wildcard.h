// DOS wildcards: "*" stands for any run of characters, "?" for exactly one; letters match without
// regard to case (ASCII). As in DOS, a pattern ending in ".*" also matches a name without a dot
// when the part before ".*" matches the whole name, so "*.*" matches every name.
#pragma once

#include <string_view>

namespace platform {

bool MatchesWildcard(std::string_view name, std::string_view pattern);

} // namespace platform
